#include "core/producttexts.h"

QString ProductTexts::windowCaption(const QString& version) {
    return QString::fromLatin1(ProductName) + QStringLiteral(" V") + version;
}

QString ProductTexts::programNameLabel() {
    const QString name = QString::fromLatin1(ProductName);
    return name.mid(name.indexOf(u' ') + 1);
}
