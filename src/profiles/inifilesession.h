#pragma once

#include <QString>

#include <functional>

class IPrompts;
class TNewInifile;

// One use of TNewInifile as the settings dialog makes it: open `path`, let `use` read and write
// it, release it (which writes the file back). A file that cannot be read or written is reported
// through `prompts` with the error's own text instead of ending the program; false then.
bool WithNewInifile(const QString& path, IPrompts& prompts,
                    const std::function<void(TNewInifile&)>& use);
