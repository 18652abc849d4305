#include "namedconf/confparser.h"

namespace {

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\f') || c == QLatin1Char('\v');
}

bool isDelimiter(QChar c)
{
    return isSpace(c) || c == QLatin1Char(';') || c == QLatin1Char('{') || c == QLatin1Char('}') ||
           c == QLatin1Char('"');
}

class Parser
{
public:
    explicit Parser(const QString& text) : m_text(text) {}

    ConfParse run()
    {
        ConfParse result;
        result.statements = statements(false);
        if (!m_error.isEmpty()) {
            result.ok = false;
            result.errorText = m_error;
            result.errorLine = m_errorLine;
            result.statements.clear();
        }
        return result;
    }

private:
    QChar at(qsizetype i) const { return i < m_text.size() ? m_text.at(i) : QChar(); }

    void fail(const QString& text) { fail(text, m_line); }
    void fail(const QString& text, int line)
    {
        if (m_error.isEmpty()) {
            m_error = text;
            m_errorLine = line;
        }
    }

    // Passes over blanks and comments, counting lines.
    void skipSpace()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos);
            if (c == QLatin1Char('\n')) {
                ++m_line;
                ++m_pos;
            } else if (isSpace(c)) {
                ++m_pos;
            } else if (c == QLatin1Char('#') || (c == QLatin1Char('/') && at(m_pos + 1) == QLatin1Char('/'))) {
                while (m_pos < m_text.size() && m_text.at(m_pos) != QLatin1Char('\n'))
                    ++m_pos;
            } else if (c == QLatin1Char('/') && at(m_pos + 1) == QLatin1Char('*')) {
                const qsizetype close = m_text.indexOf(QLatin1String("*/"), m_pos + 2);
                if (close < 0) {
                    fail(QStringLiteral("a comment (/*) is not closed"));
                    m_pos = m_text.size();
                    return;
                }
                m_line += int(QStringView(m_text).sliced(m_pos, close - m_pos).count(QLatin1Char('\n')));
                m_pos = close + 2;
            } else {
                return;
            }
        }
    }

    ConfItem quoted()
    {
        ConfItem item{ConfItem::Kind::String, QString(), {}, m_pos, 0};
        ++m_pos;
        while (m_pos < m_text.size()) {
            const QChar c = m_text.at(m_pos);
            if (c == QLatin1Char('\\') && m_pos + 1 < m_text.size()) {
                item.text += m_text.at(m_pos + 1);
                m_pos += 2;
                continue;
            }
            ++m_pos;
            if (c == QLatin1Char('"')) {
                item.end = m_pos;
                return item;
            }
            if (c == QLatin1Char('\n'))
                ++m_line;
            item.text += c;
        }
        fail(QStringLiteral("a quoted string is not closed"));
        item.end = m_pos;
        return item;
    }

    ConfItem word()
    {
        ConfItem item{ConfItem::Kind::Word, QString(), {}, m_pos, 0};
        while (m_pos < m_text.size() && !isDelimiter(m_text.at(m_pos)) &&
               !(m_text.at(m_pos) == QLatin1Char('/') &&
                 (at(m_pos + 1) == QLatin1Char('/') || at(m_pos + 1) == QLatin1Char('*'))) &&
               m_text.at(m_pos) != QLatin1Char('#'))
            ++m_pos;
        item.end = m_pos;
        item.text = m_text.sliced(item.begin, item.end - item.begin);
        return item;
    }

    // Statements up to the end of the text, or up to the "}" that closes a block.
    QList<ConfStatement> statements(bool inBlock)
    {
        QList<ConfStatement> list;
        for (;;) {
            skipSpace();
            if (!m_error.isEmpty())
                return list;
            if (m_pos >= m_text.size()) {
                if (inBlock)
                    fail(QStringLiteral("a block ({) is not closed"));
                return list;
            }
            const QChar c = m_text.at(m_pos);
            if (c == QLatin1Char('}')) {
                if (!inBlock)
                    fail(QStringLiteral("a \"}\" closes no block"));
                return list;
            }
            if (c == QLatin1Char(';')) {
                // An empty statement is allowed and means nothing.
                ++m_pos;
                continue;
            }
            ConfStatement statement = this->statement();
            if (!m_error.isEmpty())
                return list;
            list.append(std::move(statement));
        }
    }

    ConfStatement statement()
    {
        ConfStatement statement;
        statement.begin = m_pos;
        statement.line = m_line;
        // A statement left open at the end of a file is at fault where its last word stands, not at the end.
        int lastLine = m_line;
        for (;;) {
            skipSpace();
            if (!m_error.isEmpty())
                return statement;
            if (m_pos >= m_text.size()) {
                fail(QStringLiteral("a statement is not ended by \";\""), lastLine);
                return statement;
            }
            const QChar c = m_text.at(m_pos);
            if (c == QLatin1Char(';')) {
                ++m_pos;
                statement.end = m_pos;
                return statement;
            }
            if (c == QLatin1Char('}')) {
                fail(QStringLiteral("a statement is not ended by \";\" before \"}\""));
                return statement;
            }
            if (c == QLatin1Char('{')) {
                ConfItem block{ConfItem::Kind::Block, QString(), {}, m_pos, 0};
                ++m_pos;
                block.block = statements(true);
                if (!m_error.isEmpty())
                    return statement;
                ++m_pos; // the closing brace
                block.end = m_pos;
                statement.items.append(std::move(block));
            } else if (c == QLatin1Char('"')) {
                statement.items.append(quoted());
            } else {
                statement.items.append(word());
            }
            lastLine = m_line;
        }
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    QString m_error;
    int m_errorLine = 0;
};

} // namespace

QString ConfStatement::keyword() const
{
    return items.isEmpty() || items.first().kind == ConfItem::Kind::Block ? QString() : items.first().text.toLower();
}

QString ConfStatement::word(qsizetype index) const
{
    if (index < 0 || index >= items.size() || items.at(index).kind == ConfItem::Kind::Block)
        return QString();
    return items.at(index).text;
}

const QList<ConfStatement>* ConfStatement::block() const
{
    for (const ConfItem& item : items) {
        if (item.kind == ConfItem::Kind::Block)
            return &item.block;
    }
    return nullptr;
}

const ConfStatement* ConfStatement::child(const QString& name) const
{
    const QList<ConfStatement>* statements = block();
    if (!statements)
        return nullptr;
    for (const ConfStatement& statement : *statements) {
        if (statement.keyword() == name)
            return &statement;
    }
    return nullptr;
}

ConfParse parseConf(const QString& text)
{
    return Parser(text).run();
}

qsizetype endOfLine(const QString& text, qsizetype at)
{
    const qsizetype feed = text.indexOf(QLatin1Char('\n'), at);
    return feed < 0 ? text.size() : feed + 1;
}
