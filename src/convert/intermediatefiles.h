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
    QString probePath() const;    // ".../temp.m2v": the pictures a probe copied out
    QString chaptersPath() const; // ".../temp.chapters": the output's chapter marks
    // Makes the video file a named pipe, for an encoder that writes what the transcoder reads
    // at the same time. A work folder that cannot hold one (a FAT stick) gives way to the
    // system's temporary folder, and videoPath() then names the pipe there. False when neither
    // can; `error` says why.
    bool makePipe(QString* error);
    // The program holds the pipe open, with a larger buffer than a pipe's own, until the
    // encoder has ended: the transcoder then never waits for a writer to come, and its end of
    // file comes when this lets go (the encoder may end without ever opening its output).
    void endPipeWriting();
    // Removes the files (not the claim); nothing happens while nothing is claimed.
    void remove() const;
    // Removes the files and gives up the claim.
    void release();

private:
    QString m_dir;
    QString m_base;
    QString m_pipeElsewhere; // the pipe outside the work folder; empty: none
    int m_pipeHold = -1;     // the program's own end of the pipe; -1: none
    std::unique_ptr<QLockFile> m_lock;
};
