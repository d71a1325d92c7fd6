#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A disc folder as the outside tools (encoder, player) are to read it: the disc's own files,
// linked, with each information file that is damaged replaced by its good backup. The tools'
// DVD library would crash on some damaged files, or read nonsense from them.
class TMendedDisc {
public:
    // Links every file of `discFolder` (ending in "/") into a folder of its own under the
    // system's temporary folder; each name of `damaged` ("VIDEO_TS.IFO") links to its .BUP.
    // Folders that killed programs left there are removed first.
    // Nothing when the links cannot be made: the tools then read the disc as it is.
    static std::shared_ptr<TMendedDisc> Make(const QString& discFolder, const QStringList& damaged);

    // The mended folder, ending in "/"; it goes when the last owner lets it go.
    QString folder() const { return m_root.path() + QStringLiteral("/VIDEO_TS/"); }

private:
    TMendedDisc();
    QTemporaryDir m_root;
};
