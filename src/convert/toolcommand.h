#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A tool command line kept as the argument list the tool is started with, so a path is always
// one argument however many blanks it holds. text() gives the documented form: every argument
// after a blank, paths in double quotes where the form quotes them.
class ToolCommand {
public:
    ToolCommand& add(const QString& argument);
    ToolCommand& addQuoted(const QString& argument);
    // Option text from a profile: split on blanks, double quotes grouping, as a tool would.
    ToolCommand& addSplit(const QString& optionText);
    ToolCommand& add(const ToolCommand& other);
    // A blank in the text form only: a bare switch is documented with a blank after it.
    ToolCommand& addEmptyShown();

    // Replaces `from` by `to` inside every argument, in both forms.
    ToolCommand& replace(const QString& from, const QString& to);

    QStringList arguments() const;
    QString text() const;
    bool isEmpty() const { return m_arguments.isEmpty(); }

private:
    struct Argument {
        QString value;
        QString shown;
        bool passed = true; // false: only a blank in the text form
    };
    QList<Argument> m_arguments;
};
