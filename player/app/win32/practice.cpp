// The practice tools of the main window: the seek bar, the seek keys and Go
// To Time, the A-B loop with its marks and count, and the timer that keeps
// the seek bar, the Lyrics window and the loop's status text up to date.
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "player_app.h"
#include "playtime.h"
#include "practice_ids.h"

namespace zub {

namespace {

constexpr UINT_PTR kPracticeTimer = 0x5A50;
constexpr UINT kPracticeTickMs = 200;
constexpr int kSeekBarHeight = 26;
constexpr uint32_t kMostLoopTimes = 10000;

PracticeState& Tools(PlayerApp& app)
{
    return app.practice;
}

bool Seekable(const PlayerApp& app)
{
    const SequencerState s = app.sequencer->State();
    return s == SequencerState::Prerolled || s == SequencerState::Playing || s == SequencerState::Paused;
}

bool HasSong(const PlayerApp& app)
{
    return app.sequencer->Reader() != nullptr;
}

uint32_t PositionTick(PlayerApp& app)
{
    uint32_t tick = 0;
    app.sequencer->Position(&tick);
    return tick;
}

uint32_t LengthMs(PlayerApp& app)
{
    return app.sequencer->TicksToMs(app.sequencer->Length());
}

void Tell(PlayerApp& app, const std::string& text)
{
    MessageBoxA(app.main, text.c_str(), app.caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void SeekTo(PlayerApp& app, uint32_t tick)
{
    if (!Seekable(app))
        return;
    const uint32_t result = app.sequencer->Seek(tick);
    if (result != kSeqOk)
        ShowPlaybackError(app, IDS_PREROLL_FAILED, result);
    RefreshControls(app);
}

void Step(PlayerApp& app, int32_t ms)
{
    const uint32_t now = app.sequencer->TicksToMs(PositionTick(app));
    SeekTo(app, app.sequencer->MsToTicks(SteppedMs(now, ms, LengthMs(app))));
}

// ---- The question dialog ----------------------------------------------

struct Question {
    const char* title;
    const char* prompt;
    std::string answer;
    // The message for an answer that will not do, or empty.
    std::function<std::string(const std::string&)> check;
};

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* q = reinterpret_cast<Question*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        q = reinterpret_cast<Question*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SetWindowTextA(dialog, q->title);
        SetDlgItemTextA(dialog, IDC_ASK_PROMPT, q->prompt);
        SetDlgItemTextA(dialog, IDC_ASK_EDIT, q->answer.c_str());
        SendDlgItemMessageA(dialog, IDC_ASK_EDIT, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dialog, IDC_ASK_EDIT));
        return FALSE;  // the focus is set
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && q) {
            char text[64] = {};
            GetDlgItemTextA(dialog, IDC_ASK_EDIT, text, sizeof text);
            const std::string problem = q->check(text);
            if (!problem.empty()) {
                MessageBoxA(dialog, problem.c_str(), q->title, MB_OK | MB_ICONEXCLAMATION);
                SetFocus(GetDlgItem(dialog, IDC_ASK_EDIT));
                return TRUE;
            }
            q->answer = text;
            EndDialog(dialog, IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    }
    return FALSE;
}

bool Ask(PlayerApp& app, Question& q)
{
    return DialogBoxParamA(app.instance, "PRACTICEASK", app.main, QuestionProc, reinterpret_cast<LPARAM>(&q)) == IDOK;
}

void OnGoToTime(PlayerApp& app)
{
    if (!Seekable(app))
        return;
    Question q{"Go To Time", "Time in the song (m:ss, h:mm:ss or seconds):",
               FormatPlaySeconds(app.sequencer->TicksToMs(PositionTick(app))), [](const std::string& text) {
                   uint32_t ms = 0;
                   return ParsePlayTime(text, &ms) ? std::string()
                                                   : std::string("Type a time as m:ss, h:mm:ss or seconds, for "
                                                                 "example 1:05 or 65.5.");
               }};
    if (!Ask(app, q))
        return;
    uint32_t ms = 0;
    ParsePlayTime(q.answer, &ms);
    SeekTo(app, app.sequencer->MsToTicks(ms));  // past the end is the end
}

// ---- The loop ---------------------------------------------------------

// Sets the sequencer's loop from the marks; `jumpIn` moves a song playing
// outside the passage to its start.
void ApplyLoop(PlayerApp& app, bool jumpIn)
{
    PracticeState& p = Tools(app);
    const LoopProblem problem = CheckLoop(p.marks, app.sequencer->Length());
    if (problem != LoopProblem::None) {
        app.sequencer->ClearLoop();
        Tell(app, LoopProblemText(problem));
        return;
    }
    const uint32_t result = app.sequencer->SetLoop(p.marks.start, p.marks.end, p.loopTimes);
    if (result != kSeqOk) {
        app.sequencer->ClearLoop();
        Tell(app, "The loop could not be set:\n" + SequencerErrorText(result));
        return;
    }
    const uint32_t tick = PositionTick(app);
    if (jumpIn && (tick < p.marks.start || tick >= app.sequencer->Loop().endTick))
        SeekTo(app, p.marks.start);
}

void OnLoop(PlayerApp& app)
{
    if (app.sequencer->Loop().on)
        app.sequencer->ClearLoop();
    else if (HasSong(app))
        ApplyLoop(app, true);
    RefreshPractice(app);
}

void OnSetMark(PlayerApp& app, bool start)
{
    if (!HasSong(app))
        return;
    PracticeState& p = Tools(app);
    const uint32_t tick = PositionTick(app);
    (start ? p.marks.hasStart : p.marks.hasEnd) = true;
    (start ? p.marks.start : p.marks.end) = tick;
    if (app.sequencer->Loop().on)
        ApplyLoop(app, false);
    RefreshPractice(app);
}

void OnLoopTimes(PlayerApp& app)
{
    PracticeState& p = Tools(app);
    Question q{"Loop Times", "Times through the passage (0: until Loop is turned off):", std::to_string(p.loopTimes),
               [](const std::string& text) {
                   char* end = nullptr;
                   const unsigned long n = strtoul(text.c_str(), &end, 10);
                   const bool ok = !text.empty() && text[0] != '-' && !*end && n <= kMostLoopTimes;
                   return ok ? std::string() : "Type a number from 0 to " + std::to_string(kMostLoopTimes) + ".";
               }};
    if (!Ask(app, q))
        return;
    p.loopTimes = static_cast<uint32_t>(strtoul(q.answer.c_str(), nullptr, 10));
    if (app.sequencer->Loop().on)
        ApplyLoop(app, false);
    RefreshPractice(app);
}

// ---- Views ------------------------------------------------------------

void OnToggleSeekBar(PlayerApp& app)
{
    PracticeState& p = Tools(app);
    if (p.seekBar) {
        DestroyWindow(p.seekBar);
        p.seekBar = nullptr;
        p.dragging = false;
    } else {
        p.seekBar = CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS,
                                    0, 0, 0, 0, app.main, reinterpret_cast<HMENU>(IDC_SEEKBAR), app.instance, nullptr);
        SendMessageA(p.seekBar, TBM_SETRANGE, FALSE, MAKELPARAM(0, kSeekBarRange));
        SendMessageA(p.seekBar, TBM_SETPAGESIZE, 0, kSeekBarPage);
        SendMessageA(p.seekBar, TBM_SETLINESIZE, 0, kSeekBarPage / 5);
    }
    CheckMenuItem(GetMenu(app.main), CMD_SEEK_BAR, MF_BYCOMMAND | (p.seekBar ? MF_CHECKED : MF_UNCHECKED));
    LayoutMainWindow(app);
    RefreshPractice(app);
}

void OnToggleLyrics(PlayerApp& app)
{
    PracticeState& p = Tools(app);
    if (p.lyrics)
        DestroyWindow(p.lyrics);  // its WM_DESTROY forgets it
    else
        p.lyrics = CreateLyricsWindow(app);
    CheckMenuItem(GetMenu(app.main), CMD_LYRICS, MF_BYCOMMAND | (p.lyrics ? MF_CHECKED : MF_UNCHECKED));
    RefreshPractice(app);
}

// The song's title, and after it the loop while one is set.
void ShowLoopStatus(PlayerApp& app)
{
    PracticeState& p = Tools(app);
    const Sequencer::LoopStatus loop = app.sequencer->Loop();
    std::string text;
    if (loop.on)
        text = LoopStatusText(app.sequencer->TicksToMs(loop.startTick), app.sequencer->TicksToMs(loop.endTick),
                              loop.repetition, loop.count);
    if (text == p.loopText)
        return;
    p.loopText = text;
    SetStatusText(app, 0, text.empty() ? app.songTitle : app.songTitle + "    " + text);
}

void UpdatePractice(PlayerApp& app)
{
    PracticeState& p = Tools(app);
    const uint32_t tick = PositionTick(app);
    if (p.seekBar && !p.dragging)
        SendMessageA(p.seekBar, TBM_SETPOS, TRUE, SeekBarPosition(tick, app.sequencer->Length()));
    if (p.lyrics) {
        LyricsView view = LyricsViewAt(p.words, tick);
        if (HasSong(app) && p.words.Empty())
            view.current = "(No lyrics in this song)";
        ShowLyricsView(p.lyrics, view);
    }
    ShowLoopStatus(app);
}

void CALLBACK OnPracticeTimer(HWND hwnd, UINT, UINT_PTR, DWORD)
{
    if (PlayerApp* app = AppOfMainWindow(hwnd))
        UpdatePractice(*app);
}

void EnableItem(HMENU menu, int command, bool on)
{
    EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void InitPractice(PlayerApp& app)
{
    HMENU menu = GetMenu(app.main);
    HMENU view = GetSubMenu(menu, MENUPOS_VIEW);
    AppendMenuA(view, MF_STRING, CMD_SEEK_BAR, "Seek &Bar");
    AppendMenuA(view, MF_STRING, CMD_LYRICS, "&Lyrics");
    HMENU play = GetSubMenu(menu, MENUPOS_PLAY);
    AppendMenuA(play, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(play, MF_STRING, CMD_GOTO_TIME, "&Go To Time...\tCtrl+G");
    AppendMenuA(play, MF_STRING, CMD_SEEK_BACK, "&Back 5 Seconds\tCtrl+Left");
    AppendMenuA(play, MF_STRING, CMD_SEEK_FORWARD, "&Forward 5 Seconds\tCtrl+Right");
    AppendMenuA(play, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(play, MF_STRING, CMD_LOOP_START, "Set Loop Star&t\tCtrl+1");
    AppendMenuA(play, MF_STRING, CMD_LOOP_END, "Set Loop &End\tCtrl+2");
    AppendMenuA(play, MF_STRING, CMD_LOOP_AB, "&Loop\tCtrl+L");
    AppendMenuA(play, MF_STRING, CMD_LOOP_TIMES, "Loop T&imes...");
    app.practice.keys = LoadAcceleratorsA(app.instance, "PRACTICEKEYS");
}

bool OnPracticeCommand(PlayerApp& app, int command)
{
    switch (command) {
    case CMD_SEEK_BAR:
        OnToggleSeekBar(app);
        return true;
    case CMD_LYRICS:
        OnToggleLyrics(app);
        return true;
    case CMD_GOTO_TIME:
        OnGoToTime(app);
        return true;
    case CMD_SEEK_BACK:
    case CMD_SEEK_FORWARD:
        Step(app, command == CMD_SEEK_BACK ? -kSeekStepMs : kSeekStepMs);
        return true;
    case CMD_LOOP_START:
    case CMD_LOOP_END:
        OnSetMark(app, command == CMD_LOOP_START);
        return true;
    case CMD_LOOP_AB:
        OnLoop(app);
        return true;
    case CMD_LOOP_TIMES:
        OnLoopTimes(app);
        return true;
    }
    return false;
}

void RefreshPractice(PlayerApp& app)
{
    PracticeState& p = Tools(app);
    // Another song: its own words, and no marks of the last one.
    const SmfReader* song = app.sequencer->Reader();
    const std::string path = song ? song->Path() : std::string();
    if (song != p.song || path != p.songPath) {
        p.song = song;
        p.songPath = path;
        p.marks = LoopMarks();
        p.words = Lyrics();
        if (song && Lyrics::Read(*song, &p.words) != SmfResult::Ok)
            p.words = Lyrics();  // a song that plays shows what was read
    }
    HMENU menu = GetMenu(app.main);
    const bool seekable = Seekable(app), hasSong = HasSong(app), looping = app.sequencer->Loop().on;
    for (int command : {CMD_GOTO_TIME, CMD_SEEK_BACK, CMD_SEEK_FORWARD})
        EnableItem(menu, command, seekable);
    for (int command : {CMD_LOOP_START, CMD_LOOP_END, CMD_LOOP_AB})
        EnableItem(menu, command, hasSong);
    CheckMenuItem(menu, CMD_LOOP_AB, MF_BYCOMMAND | (looping ? MF_CHECKED : MF_UNCHECKED));
    if (p.seekBar)
        EnableWindow(p.seekBar, seekable);
    if (looping)
        p.loopText.clear();  // a status bar turned on again shows the loop at once
    UpdatePractice(app);

    const bool wanted = p.seekBar || p.lyrics || looping;
    if (wanted && !p.timerRunning)
        p.timerRunning = SetTimer(app.main, kPracticeTimer, kPracticeTickMs, OnPracticeTimer) != 0;
    else if (!wanted && p.timerRunning) {
        KillTimer(app.main, kPracticeTimer);
        p.timerRunning = false;
    }
}

void OnPracticeScroll(PlayerApp& app, HWND bar, int code)
{
    PracticeState& p = Tools(app);
    if (!bar || bar != p.seekBar)
        return;
    if (code == TB_THUMBTRACK) {
        p.dragging = true;
        return;
    }
    if (code != TB_ENDTRACK)
        return;
    p.dragging = false;
    const int position = static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0));
    SeekTo(app, SeekBarTick(position, app.sequencer->Length()));
}

bool TranslatePracticeKey(PlayerApp& app, MSG* msg)
{
    const PracticeState& p = app.practice;
    if (!p.keys || !app.main)
        return false;
    if (msg->hwnd != app.main && !IsChild(app.main, msg->hwnd) && (!p.lyrics || (msg->hwnd != p.lyrics && !IsChild(p.lyrics, msg->hwnd))))
        return false;
    return TranslateAcceleratorA(app.main, p.keys, msg) != 0;
}

int SeekBarHeight(const PlayerApp& app)
{
    return app.practice.seekBar ? kSeekBarHeight : 0;
}

void PlaceSeekBar(PlayerApp& app, int top, int width)
{
    if (app.practice.seekBar)
        MoveWindow(app.practice.seekBar, 0, top, width, kSeekBarHeight, TRUE);
}

}  // namespace zub
