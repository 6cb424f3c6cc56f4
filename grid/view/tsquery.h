// The text query protocol of the grid window: another program sets the
// window text to a command and reads the window text back for the answer,
// so it can read cells and geometry without sharing memory.
#ifndef ZUB_GRID_VIEW_TSQUERY_H
#define ZUB_GRID_VIEW_TSQUERY_H

#include <stddef.h>
#include <stdint.h>

#include "tsrectset.h"
#include "tsviewstate.h"

struct TsQueryRecord {
    uint32_t command;
    uint32_t argument;
    uint32_t values[4];
    char text[129];  // up to 128 characters
};

// "command:argument,v1,v2,v3,v4:text": digit runs (none reads as 0), each
// followed by any one separator character, then the text.
void TsParseQuery(const char* text, TsQueryRecord* out);

// "%lu:%lu,%lu,%lu,%lu,%lu:%s" (result, argument, the four values, the
// text), cut to fit size including the NUL. Returns the characters written.
size_t TsFormatQuery(uint32_t result, const TsQueryRecord& record, char* out, size_t size);

// What the commands read; positions are already mapped from identifiers.
class TsQuerySource {
public:
    virtual uint32_t QueryRowCount() = 0;
    virtual uint32_t QueryColCount() = 0;
    // Maps a row and a column value (index or identifier); false when
    // the cell does not exist.
    virtual bool QueryCell(uint32_t rowValue, uint32_t colValue, uint32_t* row, uint32_t* col) = 0;
    virtual void QueryCellText(uint32_t row, uint32_t col, char* out, size_t size) = 0;
    // Command 104-108: the name of an alias the cell refers to.
    virtual const char* QueryCellName(uint32_t command, uint32_t row, uint32_t col) = 0;
    virtual bool QuerySelection(TsRect* bounds) = 0;
    virtual void QueryOrigin(uint32_t* row, uint32_t* col) = 0;
    virtual uint32_t QueryColTable() = 0;
    // The cell's rectangle: in the grid window (0), the frame (1) or the screen (2).
    virtual bool QueryCellRect(uint32_t row, uint32_t col, int where, TsPixels* out) = 0;
    virtual void QueryShowCell(uint32_t row, uint32_t col, bool asFarAsPossible) = 0;

protected:
    ~TsQuerySource() = default;
};

// Runs the command of the record, changing its values and text to the
// answer. False for commands outside 101-116.
bool TsRunQuery(TsQuerySource& source, TsQueryRecord* record, uint32_t* result);

#endif
