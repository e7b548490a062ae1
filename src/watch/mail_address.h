#pragma once
// Mailbox texts as the user types them in the mail settings and in a watch record's Target.
// Pure functions over Windows-1251 text.
#include <string>
#include <string_view>
#include <vector>

namespace zorvant::watch {

struct Mailbox {
    std::string name; // display name, unquoted; empty when none was given
    std::string address;
    bool operator==(const Mailbox&) const = default;
};

// Reads one mailbox: a bare address, a name followed by an address in angle brackets, or an address
// followed by a name in round brackets. Surrounding blanks are dropped; a quoted name is unquoted.
Mailbox parseMailbox(std::string_view text);

// Splits a list at the commas that stand outside double quotes; each part is trimmed, empty parts are
// skipped.
std::vector<std::string> splitMailboxList(std::string_view text);

// The sender of every message: the address read from the return address, the display name the whole
// text as typed.
Mailbox senderOf(std::string_view returnAddress);

} // namespace zorvant::watch
