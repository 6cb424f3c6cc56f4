#include "qfstring.h"

#include <string.h>

namespace {

const int kCapacity[QF_STRING_CLASSES] = {0, 9, 25, 57, 121, 249};

struct ClassTable {
    uint8_t entry[512];
    ClassTable()
    {
        for (int i = 0; i < 512; ++i) {
            int c = 0;
            if (i >= 1)
                c = 1;
            if (i >= 10)
                c = 2;
            if (i >= 26)
                c = 3;
            if (i >= 58)
                c = 4;
            if (i >= 122)
                c = 5;
            entry[i] = static_cast<uint8_t>(c);
        }
    }
};

const ClassTable kTable;

int ClampLength(const char* text, int length)
{
    if (!text)
        return 0;
    if (length < 0)
        length = static_cast<int>(strnlen(text, QF_STRING_MAX + 1));
    return length;
}

}  // namespace

int QfStringClassCapacity(int sizeClass)
{
    return sizeClass >= 0 && sizeClass < QF_STRING_CLASSES ? kCapacity[sizeClass] : 0;
}

uint32_t QfStringClassBytes(int sizeClass)
{
    return sizeClass >= 1 && sizeClass < QF_STRING_CLASSES ? 16u << (sizeClass - 1) : 0;
}

int QfStringClassFor(uint32_t capacity)
{
    return kTable.entry[capacity & 511];
}

QfString* QfStringInitBlock(void* block, int sizeClass)
{
    QfString* s = static_cast<QfString*>(block);
    s->refs = 0;
    s->length = 0;
    s->sizeClass = static_cast<uint8_t>(sizeClass);
    char* text = QfStringText(s);
    text[0] = '\0';
    text[QfStringClassCapacity(sizeClass)] = '\0';
    return s;
}

int QfStringCopy(QfString* s, const char* text, int length)
{
    s->length = 0;
    QfStringText(s)[0] = '\0';
    return QfStringAppend(s, text, length);
}

int QfStringAppend(QfString* s, const char* text, int length)
{
    return QfStringInsert(s, s->length, text, length);
}

int QfStringInsert(QfString* s, int position, const char* text, int length)
{
    int capacity = QfStringCapacity(s);
    int have = s->length;
    length = ClampLength(text, length);
    if (position < 0)
        position = 0;
    if (position > have)
        position = have;
    if (position + length > capacity)
        length = capacity - position;
    if (length <= 0 || capacity == 0)
        return have;
    char* buf = QfStringText(s);
    // Keep as much of the tail as still fits after the inserted text.
    int tail = have - position;
    if (position + length + tail > capacity)
        tail = capacity - position - length;
    memmove(buf + position + length, buf + position, static_cast<size_t>(tail));
    memmove(buf + position, text, static_cast<size_t>(length));
    s->length = static_cast<uint8_t>(position + length + tail);
    buf[s->length] = '\0';
    return s->length;
}

int QfStringCut(QfString* s, int position, int count)
{
    int have = s->length;
    if (position < 0 || position >= have || count <= 0)
        return have;
    if (count > have - position)
        count = have - position;
    char* buf = QfStringText(s);
    memmove(buf + position, buf + position + count, static_cast<size_t>(have - position - count));
    s->length = static_cast<uint8_t>(have - count);
    buf[s->length] = '\0';
    return s->length;
}

QfString* QfStringResize(IQfTextMgr* texts, QfString* empty, QfString* string, uint32_t capacity, int32_t keepText)
{
    if (!string)
        string = texts->AddRefString(empty);
    capacity &= 0xFFFF;
    if (capacity == 0) {
        texts->ReleaseString(string);
        return texts->AddRefString(empty);
    }
    int sizeClass = QfStringClassFor(capacity);
    if (string->refs == 0 && (string->sizeClass & 0x0F) == sizeClass)
        return string;
    QfString* fresh = texts->AllocString(capacity);
    if (fresh == empty) {
        texts->ReleaseString(fresh);
        return string;
    }
    if (keepText)
        QfStringCopy(fresh, QfStringText(string), string->length);
    texts->ReleaseString(string);
    return fresh;
}
