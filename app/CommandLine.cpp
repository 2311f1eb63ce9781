#include "app/CommandLine.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace {

// Qt's own options, read by the Qt application before the framework sees the command line:
// they start the window, so they are let through untouched. Those of the first list take a
// value in the next argument.
constexpr std::array kQtOptionsWithValue{"platform",
                                         "platformpluginpath",
                                         "platformtheme",
                                         "plugin",
                                         "qwindowgeometry",
                                         "geometry",
                                         "qwindowtitle",
                                         "title",
                                         "qwindowicon",
                                         "icon",
                                         "session",
                                         "display",
                                         "name",
                                         "style",
                                         "stylesheet",
                                         "visual"};
constexpr std::array kQtFlags{"reverse", "testability", "widgetcount", "sync", "nograb", "dograb"};
// These take their value after "=".
constexpr std::array kQtOptionsWithEquals{"style=", "stylesheet=", "qmljsdebugger="};

// Qt accepts its options with one dash or two; the name without them.
std::string_view QtOptionName(std::string_view arg) {
    arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
    return arg;
}

bool IsIn(const auto& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

bool StartsWithAny(const auto& list, std::string_view name) {
    return std::any_of(list.begin(), list.end(),
                       [&](std::string_view prefix) { return name.starts_with(prefix); });
}

std::string Lower(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::optional<CommandLine::Format> FormatNamed(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower == "png")
        return CommandLine::Format::Png;
    if (lower == "svg")
        return CommandLine::Format::Svg;
    if (lower == "pdf")
        return CommandLine::Format::Pdf;
    return std::nullopt;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    if (text.starts_with('+'))
        text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// "x0:y0:x1:y1", whole numbers, with x0 < x1 and y0 < y1.
std::optional<CRect> ParseArea(std::string_view text) {
    std::array<std::int32_t, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto colon = text.find(':');
        const bool last = i + 1 == values.size();
        if (last != (colon == std::string_view::npos))
            return std::nullopt;
        const auto value = ParseInt32(text.substr(0, colon));
        if (!value)
            return std::nullopt;
        values[i] = *value;
        text.remove_prefix(last ? text.size() : colon + 1);
    }
    const CRect area(values[0], values[1], values[2], values[3]);
    if (area.IsRectEmpty())
        return std::nullopt;
    return area;
}

CommandLine Misuse(std::string error) {
    CommandLine result;
    result.m_action = CommandLine::Action::Misuse;
    result.m_strError = std::move(error);
    return result;
}

} // namespace

std::optional<CommandLine::Format> CommandLine::FormatOfFileName(std::string_view path) {
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::nullopt;
    return FormatNamed(name.substr(dot + 1));
}

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine result;
    std::vector<std::string> files;
    bool hasOutput = false;
    std::optional<Format> format;
    bool options = true;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options = false;
            continue;
        }

        // "--name=value" or "--name value" for our long options, "-o value" for the short one.
        std::string_view name = arg;
        std::optional<std::string> value;
        if (const auto eq = name.find('=');
            name.starts_with("--") && eq != std::string_view::npos) {
            value = std::string(name.substr(eq + 1));
            name = name.substr(0, eq);
        }
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (value)
                return value;
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };

        if (name == "-h" || name == "--help") {
            result.m_action = Action::ShowHelp;
            return result;
        }
        if (name == "--version") {
            result.m_action = Action::ShowVersion;
            return result;
        }
        if (name == "-o" || name == "--export-filename") {
            const auto path = takeValue();
            if (!path || path->empty())
                return Misuse("option '" + std::string(name) +
                              "' needs the name of the file to write");
            if (hasOutput)
                return Misuse("only one file can be written at a time");
            hasOutput = true;
            result.m_strOutput = *path;
            continue;
        }
        if (name == "--export-type") {
            const auto type = takeValue();
            if (!type)
                return Misuse("option '--export-type' needs png, svg or pdf");
            format = FormatNamed(*type);
            if (!format)
                return Misuse("unknown export type '" + *type + "': png, svg or pdf");
            continue;
        }
        if (name == "--export-area") {
            const auto text = takeValue();
            const auto area = text ? ParseArea(*text) : std::nullopt;
            if (!area)
                return Misuse("option '--export-area' needs x0:y0:x1:y1, whole numbers with x0 < "
                              "x1 and y0 < y1");
            result.m_bHasArea = true;
            result.m_area = *area;
            continue;
        }

        const std::string_view qtName = QtOptionName(arg);
        if (IsIn(kQtOptionsWithValue, qtName)) {
            if (i + 1 >= args.size())
                return Misuse("option '" + arg + "' needs a value");
            ++i;
            continue;
        }
        if (IsIn(kQtFlags, qtName) || StartsWithAny(kQtOptionsWithEquals, qtName))
            continue;
        return Misuse("unknown option '" + arg + "'");
    }

    if (!hasOutput) {
        if (format || result.m_bHasArea)
            return Misuse("'--export-type' and '--export-area' need '-o' and a file to write");
        return result;
    }
    if (files.empty())
        return Misuse("no drawing named to write to " + result.m_strOutput);
    if (files.size() > 1)
        return Misuse("only one drawing can be written at a time");
    if (!format)
        format = FormatOfFileName(result.m_strOutput);
    if (!format)
        return Misuse("the name " + result.m_strOutput +
                      " does not say png, svg or pdf: add '--export-type'");
    result.m_action = Action::Export;
    result.m_strInput = files.front();
    result.m_format = *format;
    return result;
}
