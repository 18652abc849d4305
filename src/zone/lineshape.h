#pragma once

#include <QStringView>

// The number of runs of blanks in the line without its last character, so that the one blank that ends most
// record lines is not counted. Tabs separate fields as spaces do, since hand-written files use both.
int fieldCount(QStringView line);

// The field count of a TXT line: the text from the first double quote to the last is one field however many
// blanks it holds, so that every text the person editor quotes reads back as it was written.
int textFieldCount(QStringView line);

// What the line tests need of a line, found in one pass: which record words stand in it between blanks, and
// its field counts. Tabs are blanks. What stands between the first and the last double quote is no record
// word and, for the text field count, no blank: a quoted text is one field, and cannot make its line a record
// of another kind. The outermost pair keeps whole the texts the person editor stores, which may hold further
// quotes of their own.
struct LineShape
{
    bool soa = false; // a word ending in "IN" and a word ending in "SOA", each followed by a blank
    bool in = false;  // " IN ": the word between blanks; likewise the others
    bool ns = false;
    bool mx = false;
    bool a = false;
    bool cname = false;
    bool rp = false;
    bool txt = false;
    int fields = 0;     // fieldCount
    int textFields = 0; // textFieldCount

    explicit LineShape(QStringView line);

private:
    void readPlain(QStringView line);
    void readQuoted(QStringView line);
    void noteRecordWord(const char16_t* word, qsizetype length);
};
