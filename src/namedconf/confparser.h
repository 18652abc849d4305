#pragma once

#include <QList>
#include <QString>

// BIND 9's configuration grammar as far as finding statements needs it: words, quoted strings, blocks in braces,
// each statement ended by ";", and the three comment styles ("//", "#", "/* */"). It keeps where every statement
// stands in the text, so that one statement can be changed or taken out and every other byte stays as written.
// What the statements mean is for the readers above it; BIND's own parser decides what is valid.

struct ConfStatement;

// One element of a statement: a word, a quoted string (its text unescaped), or a block of statements.
struct ConfItem
{
    enum class Kind
    {
        Word,
        String,
        Block,
    };
    Kind kind = Kind::Word;
    QString text;
    QList<ConfStatement> block;
    qsizetype begin = 0; // where it stands in the text: its first character
    qsizetype end = 0;   // and just after its last ("}" for a block, the closing quote for a string)
};

struct ConfStatement
{
    QList<ConfItem> items;
    qsizetype begin = 0; // the first character of its first item
    qsizetype end = 0;   // just after its ";"
    int line = 0;        // the line of its first item, from 1

    // The statement's name: its first word in lower case ("zone", "options", "include").
    QString keyword() const;
    // The text of the word or string at the position; empty when there is none.
    QString word(qsizetype index) const;
    // The first block of the statement; null when it has none.
    const QList<ConfStatement>* block() const;
    // The statement of the block named so (first match), null when there is none.
    const ConfStatement* child(const QString& keyword) const;
};

struct ConfParse
{
    QList<ConfStatement> statements;
    bool ok = true;
    QString errorText; // why the text could not be taken apart
    int errorLine = 0;
};

ConfParse parseConf(const QString& text);

// Where the line of a text position ends, after its line feed; the text's end when there is none.
qsizetype endOfLine(const QString& text, qsizetype at);
