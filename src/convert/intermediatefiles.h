#pragma once

#include <QString>

#include <memory>

class QLockFile;

// A run's own intermediate files in the work folder: temp.avi, and temp.idx/temp.sub for a
// subtitle. While another run (another window or command line on the same folder) holds
// those names, this run takes temp-<process id>.* instead, so two runs never write into one
// file. The claim is a lock file beside them that a run which died leaves stale, not held.
class TIntermediateFiles {
public:
    TIntermediateFiles();
    ~TIntermediateFiles(); // removes the files and gives up the claim

    // Claims names in `workDir`; nothing changes while the folder stays the same.
    void settle(const QString& workDir);
    QString videoPath() const;    // ".../temp.avi"
    QString subtitleBase() const; // ".../temp"; the encoder adds ".idx" and ".sub"
    // Removes the files (not the claim); nothing happens while nothing is claimed.
    void remove() const;
    // Removes the files and gives up the claim.
    void release();

private:
    QString m_dir;
    QString m_base;
    std::unique_ptr<QLockFile> m_lock;
};
