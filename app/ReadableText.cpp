#include "app/ReadableText.h"

#include <cstddef>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

unsigned char ByteAt(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

// The length of the well-formed UTF-8 sequence that begins the bytes, or 0: no overlong forms,
// no surrogates, nothing past U+10FFFF.
std::size_t SequenceLength(std::string_view bytes) {
    const unsigned char lead = ByteAt(bytes, 0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (bytes.size() < length || ByteAt(bytes, 1) < low || ByteAt(bytes, 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (ByteAt(bytes, i) < 0x80 || ByteAt(bytes, i) > 0xBF)
            return 0;
    }
    return length;
}

// C0 and C1 controls and DEL show as nothing or break lines; U+FFFE and U+FFFF are not
// characters at all, and XML refuses them.
bool IsUnreadable(std::string_view sequence) {
    const unsigned char lead = ByteAt(sequence, 0);
    if (sequence.size() == 1)
        return lead < 0x20 || lead == 0x7F;
    if (sequence.size() == 2)
        return lead == 0xC2 && ByteAt(sequence, 1) <= 0x9F;
    return sequence == "\xEF\xBF\xBE" || sequence == "\xEF\xBF\xBF";
}

} // namespace

std::string ReadableText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = SequenceLength(bytes);
        // An ill-formed byte is replaced alone: the next one may begin a good sequence.
        const std::string_view sequence = bytes.substr(0, length == 0 ? 1 : length);
        if (length == 0 || IsUnreadable(sequence))
            text += kReplacement;
        else
            text += sequence;
        bytes.remove_prefix(sequence.size());
    }
    return text;
}
