#pragma once

#include <QByteArray>
#include <QList>

// Profile files for tests, written with "\n" and stored with CR LF as the program writes them.
namespace ProfileText {

inline QByteArray crlf(QByteArray text) {
    return text.replace("\n", "\r\n");
}

// [Main] naming `names` in order, then `sections` ("[name]\nkey=value\n...").
inline QByteArray profile(const QList<QByteArray>& names, const QByteArray& sections,
                          const QByteArray& type = {}) {
    QByteArray text = "[Main]\nPara=" + QByteArray::number(names.size()) + "\n";
    for (int i = 0; i < names.size(); ++i)
        text += QByteArray::number(i) + "=" + names[i] + "\n";
    if (!type.isEmpty())
        text += "Type=" + type + "\n";
    return crlf(text + "\n" + sections);
}

} // namespace ProfileText
