#include "platform/DdeMacro.h"

namespace platform {
namespace {

class MacroParser {
public:
    explicit MacroParser(const QString& text) : m_text(text) {}

    std::optional<QList<DdeMacroCommand>> commands()
    {
        QList<DdeMacroCommand> result;
        skipSpace();
        while (m_pos < m_text.size()) {
            const bool bracketed = take(QLatin1Char('['));
            DdeMacroCommand command;
            if (!name(command.name) || !take(QLatin1Char('(')) || !arguments(command.arguments))
                return std::nullopt;
            if (bracketed && !take(QLatin1Char(']')))
                return std::nullopt;
            result.push_back(command);
            skipSpace();
        }
        if (result.isEmpty())
            return std::nullopt;
        return result;
    }

private:
    void skipSpace()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }
    bool take(QChar c)
    {
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool name(QString& out)
    {
        skipSpace();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() &&
               (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_')) &&
               m_text[m_pos].unicode() < 128)
            ++m_pos;
        out = m_text.mid(start, m_pos - start);
        return !out.isEmpty();
    }
    // The arguments up to and including the closing parenthesis.
    bool arguments(QStringList& out)
    {
        if (take(QLatin1Char(')')))
            return true;
        for (;;) {
            QString argument;
            skipSpace();
            if (!(m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('"') ? quoted(argument)
                                                                             : bare(argument)))
                return false;
            out.push_back(argument);
            if (take(QLatin1Char(')')))
                return true;
            if (!take(QLatin1Char(',')))
                return false;
        }
    }
    bool quoted(QString& out)
    {
        ++m_pos;  // the opening quote
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (c != QLatin1Char('"')) {
                out += c;
            } else if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('"')) {
                out += c;
                ++m_pos;
            } else {
                return true;
            }
        }
        return false;  // unterminated
    }
    bool bare(QString& out)
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && !QStringLiteral(",()[]\"").contains(m_text[m_pos]))
            ++m_pos;
        out = m_text.mid(start, m_pos - start).trimmed();
        return !out.isEmpty();
    }

    const QString& m_text;
    qsizetype m_pos = 0;
};

}  // namespace

QString ddeQuote(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

std::optional<QList<DdeMacroCommand>> parseDdeMacro(const QString& macro)
{
    return MacroParser(macro).commands();
}

}  // namespace platform
