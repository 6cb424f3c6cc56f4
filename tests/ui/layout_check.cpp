#include "layout_check.h"

#include <commctrl.h>

namespace zubtest {

namespace {

// How a control shows its text, and so how much room the text needs.
enum class TextRule {
    None,     // no text of its own (sliders, arrows, toolbars, grids, pictures)
    Line,     // one line filling the control
    Check,    // a check box or radio button: the box and a gap beside the text
    Push,     // a push button: borders and focus frame around the text
    Edit,     // an edit field: its line must be tall enough, long texts scroll
    Status,   // a part of a status bar, with or without its border
    Display,  // the player's time display: digits with a shadow in a sunken frame
};

int Scaled(int pixels, int dpi)
{
    return MulDiv(pixels, dpi, 96);
}

bool ClassIs(const ProbeControl& c, const char* name)
{
    return lstrcmpiA(c.className, name) == 0;
}

TextRule ButtonRule(DWORD style)
{
    if (style & (BS_BITMAP | BS_ICON))
        return TextRule::None;
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return TextRule::Check;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return TextRule::Push;
    case BS_GROUPBOX:
        return TextRule::Line;
    default:
        return TextRule::None;
    }
}

TextRule StaticRule(DWORD style)
{
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        return TextRule::Line;
    default:
        return TextRule::None;
    }
}

TextRule RuleOf(const ProbeControl& c)
{
    if (ClassIs(c, "Button"))
        return ButtonRule(c.style);
    if (ClassIs(c, "Static"))
        return StaticRule(c.style);
    if (ClassIs(c, "Edit"))
        return TextRule::Edit;
    if (ClassIs(c, "StatusPart"))
        return TextRule::Status;
    if (ClassIs(c, "ZubodeckTWnd"))
        return TextRule::Display;
    if (ClassIs(c, TRACKBAR_CLASSA) || ClassIs(c, UPDOWN_CLASSA) || ClassIs(c, TOOLBARCLASSNAMEA) ||
        ClassIs(c, STATUSCLASSNAMEA) || ClassIs(c, "Tessaline"))
        return TextRule::None;
    return c.text[0] ? TextRule::Line : TextRule::None;
}

// The room a text needs inside its control's client rectangle.
SIZE Needed(const ProbeControl& c, TextRule rule, int dpi)
{
    SIZE need = c.extent;
    switch (rule) {
    case TextRule::Check:
        need.cx += Scaled(12, dpi) + 1 + Scaled(4, dpi);
        break;
    case TextRule::Push:
        need.cx += 2 * Scaled(4, dpi);
        need.cy += Scaled(4, dpi);
        break;
    case TextRule::Edit:
        need.cx = 0;
        break;
    case TextRule::Status:
        // The bar insets a part's text by 3 pixels, inside a one-pixel
        // border unless the part is drawn without one.
        need.cx += 3 + ((c.style & SBT_NOBORDERS) ? 0 : 2);
        need.cy += (c.style & SBT_NOBORDERS) ? 0 : 2;
        break;
    case TextRule::Display:
        need.cx += 3 + 4;  // the shadow's offset and the frame's two lines each side
        need.cy += 3 + 4;
        break;
    case TextRule::None:
    case TextRule::Line:
        break;
    }
    return need;
}

std::string Describe(const ProbeControl& c)
{
    return std::string(c.className) + " " + std::to_string(c.id) + " \"" + c.text + "\"";
}

std::string RectText(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

bool IsUpDownPair(const ProbeControl& a, const ProbeControl& b)
{
    return (a.buddy && a.buddy == b.window) || (b.buddy && b.buddy == a.window);
}

// A group box frames the controls it holds: they lie wholly inside it.
bool IsInGroupBox(const ProbeControl& box, const ProbeControl& inner)
{
    if (!ClassIs(box, "Button") || (box.style & BS_TYPEMASK) != BS_GROUPBOX)
        return false;
    RECT common;
    return IntersectRect(&common, &box.rect, &inner.rect) && EqualRect(&common, &inner.rect);
}

void CheckText(const ProbeControl& c, int dpi, std::vector<std::string>& problems)
{
    const TextRule rule = RuleOf(c);
    if (rule == TextRule::None || (c.text[0] == '\0' && rule != TextRule::Edit))
        return;
    const SIZE need = Needed(c, rule, dpi);
    if (need.cx > c.client.cx || need.cy > c.client.cy)
        problems.push_back(Describe(c) + " needs " + std::to_string(need.cx) + "x" + std::to_string(need.cy) +
                           " but has " + std::to_string(c.client.cx) + "x" + std::to_string(c.client.cy));
}

void CheckInside(const ProbeControl& c, SIZE client, std::vector<std::string>& problems)
{
    const RECT& r = c.rect;
    if (r.left < 0 || r.top < 0 || r.right > client.cx || r.bottom > client.cy)
        problems.push_back(Describe(c) + " at " + RectText(r) + " reaches outside its window's " +
                           std::to_string(client.cx) + "x" + std::to_string(client.cy));
}

}  // namespace

std::vector<std::string> LayoutProblems(const std::vector<ProbeControl>& controls, SIZE client, int dpi)
{
    std::vector<std::string> problems;
    for (size_t i = 0; i < controls.size(); ++i) {
        const ProbeControl& c = controls[i];
        if (!c.visible)
            continue;
        CheckText(c, dpi, problems);
        CheckInside(c, client, problems);
        // A status bar's parts are placed by the bar itself, inside it.
        if (ClassIs(c, "StatusPart"))
            continue;
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const ProbeControl& d = controls[j];
            RECT common;
            if (!d.visible || ClassIs(d, "StatusPart") || IsUpDownPair(c, d) || IsInGroupBox(c, d) ||
                IsInGroupBox(d, c))
                continue;
            if (IntersectRect(&common, &c.rect, &d.rect))
                problems.push_back(Describe(c) + " at " + RectText(c.rect) + " overlaps " + Describe(d) + " at " +
                                   RectText(d.rect));
        }
    }
    return problems;
}

}  // namespace zubtest
