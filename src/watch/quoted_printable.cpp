#include "watch/quoted_printable.h"

namespace zorvant::watch {
namespace {

// Leaves room on a line of 76 for a blank written encoded and the soft break "=".
constexpr std::size_t kBreakAfter = 72;

std::string encodedByte(unsigned char byte, bool lastOfText) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const bool blank = byte == ' ' || byte == '\t';
    const bool literal = (byte >= 33 && byte <= 126 && byte != '=') || (blank && !lastOfText);
    if (literal)
        return std::string(1, static_cast<char>(byte));
    return {'=', kHex[byte >> 4], kHex[byte & 0x0F]};
}

} // namespace

bool needsQuotedPrintable(std::string_view line) {
    return line.size() > kMaxLineLength || line.find_first_of(std::string_view("\r\n\0", 3)) != line.npos;
}

std::string quotedPrintable(std::string_view text) {
    std::string out;
    std::size_t lineLength = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string piece = encodedByte(static_cast<unsigned char>(text[i]), i + 1 == text.size());
        // A blank before a soft break would be lost, so it is written encoded there.
        if (lineLength + piece.size() > kBreakAfter) {
            if (!out.empty() && (out.back() == ' ' || out.back() == '\t')) {
                const char blank = out.back();
                out.pop_back();
                out += encodedByte(static_cast<unsigned char>(blank), true);
            }
            out += "=\r\n";
            lineLength = 0;
        }
        out += piece;
        lineLength += piece.size();
    }
    return out;
}

} // namespace zorvant::watch
