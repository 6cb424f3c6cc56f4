// Icon and cursor references: "module!name(w,h)", "!name" for the
// framework's resource modules, "name", and the size rules for icons.
#ifndef ZUB_FRAMEWORK_QFRESREF_H
#define ZUB_FRAMEWORK_QFRESREF_H

enum { QF_REF_NAME_MAX = 64 };

struct QfResourceRef {
    char module[QF_REF_NAME_MAX];  // empty when none was given
    char name[QF_REF_NAME_MAX];
    int width, height;             // -1 when the text gave none
    bool frameworkName;            // "!name": look in the framework's resource modules
};

// False when the text is not a reference.
bool QfParseResourceRef(const char* text, QfResourceRef* out);

// The size an icon is loaded at: the text's size replaces the wished one;
// below 0 or above the system size becomes the system size. False (no icon)
// when a width or height of 0 results.
bool QfResolveIconSize(const QfResourceRef* ref, int* width, int* height, int systemWidth, int systemHeight);

// True when the whole name is an unsigned decimal number below 65536,
// which *number receives: such names also stand for resource numbers.
bool QfResourceNumber(const char* name, unsigned* number);

#endif
