#include "qfresref.h"

#include <stdlib.h>
#include <string.h>

#include "qfpattern.h"

bool QfParseResourceRef(const char* text, QfResourceRef* out)
{
    if (!text)
        return false;
    char module[QF_REF_NAME_MAX] = "", name[QF_REF_NAME_MAX] = "", w[4] = "", h[4] = "";
    int n = QfMatchPattern(text, "* -({a<0-63>[^!]}\\!){b<1-63>[^()!]}-(\\(* {c#-#}* \\,* {d#-#}* \\))!?", module,
                           name, w, h);
    if (n < 0)
        return false;
    strcpy(out->module, module);
    strcpy(out->name, name);
    out->width = w[0] ? atoi(w) : -1;
    out->height = h[0] ? atoi(h) : -1;
    const char* p = text;
    while (*p == ' ')
        ++p;
    out->frameworkName = !module[0] && *p == '!';
    return true;
}

bool QfResolveIconSize(const QfResourceRef* ref, int* width, int* height, int systemWidth, int systemHeight)
{
    if (ref && ref->width >= 0)
        *width = ref->width;
    if (ref && ref->height >= 0)
        *height = ref->height;
    if (*width < 0 || *width > systemWidth)
        *width = systemWidth;
    if (*height < 0 || *height > systemHeight)
        *height = systemHeight;
    return *width != 0 && *height != 0;
}

bool QfResourceNumber(const char* name, unsigned* number)
{
    if (!name || QfMatchPattern(name, "* +#* !?") < 0)
        return false;
    unsigned long value = strtoul(name, nullptr, 10);
    if (value > 0xFFFF)
        return false;
    *number = static_cast<unsigned>(value);
    return true;
}
