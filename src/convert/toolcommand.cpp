#include "convert/toolcommand.h"

ToolCommand& ToolCommand::add(const QString& argument) {
    m_arguments.append({argument, argument});
    return *this;
}

ToolCommand& ToolCommand::addQuoted(const QString& argument) {
    m_arguments.append({argument, u'"' + argument + u'"'});
    return *this;
}

ToolCommand& ToolCommand::addSplit(const QString& optionText) {
    QString value;
    QString shown;
    bool inQuotes = false;
    bool any = false;
    const auto flush = [&] {
        if (any)
            m_arguments.append({value, shown});
        value.clear();
        shown.clear();
        any = false;
    };
    for (QChar c : optionText) {
        if (c == u'"') {
            inQuotes = !inQuotes;
            shown += c;
            any = true;
        } else if (c.isSpace() && !inQuotes) {
            flush();
        } else {
            value += c;
            shown += c;
            any = true;
        }
    }
    flush();
    return *this;
}

ToolCommand& ToolCommand::add(const ToolCommand& other) {
    m_arguments += other.m_arguments;
    return *this;
}

ToolCommand& ToolCommand::addEmptyShown() {
    m_arguments.append({QString(), QString(), false});
    return *this;
}

ToolCommand& ToolCommand::replace(const QString& from, const QString& to) {
    for (Argument& a : m_arguments) {
        a.value.replace(from, to);
        a.shown.replace(from, to);
    }
    return *this;
}

QStringList ToolCommand::arguments() const {
    QStringList list;
    for (const Argument& a : m_arguments)
        if (a.passed)
            list << a.value;
    return list;
}

QString ToolCommand::text() const {
    QString text;
    for (const Argument& a : m_arguments)
        text += u' ' + a.shown;
    return text;
}
