#pragma once

#include "platform/geometry/CRect.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the command line asks of the program. No argument (a new drawing) and one file name (open
// it) start the window as they always have, and so do Qt's own options; the rest is ours: help,
// the version, and writing a drawing to a PNG, SVG or PDF file without a window.
class CommandLine {
public:
    enum class Action { OpenWindow, ShowHelp, ShowVersion, Export, Misuse };
    enum class Format { Png, Svg, Pdf };

    // args: the arguments after the program's name. Options and file names may come in any
    // order; "--" ends the options.
    static CommandLine Parse(const std::vector<std::string>& args);
    // The format a file name's extension names (png, svg or pdf, in any case), if any.
    static std::optional<Format> FormatOfFileName(std::string_view path);

    Action m_action = Action::OpenWindow;
    // Misuse: what is wrong, in a few words.
    std::string m_strError;
    // Export: the drawing to read, the file to write and its format.
    std::string m_strInput;
    std::string m_strOutput;
    Format m_format = Format::Png;
    // Export: the part of the drawing to write, right and bottom edges excluded; without it the
    // drawing's extent.
    bool m_bHasArea = false;
    CRect m_area;
};
