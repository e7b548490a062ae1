#include "watch/watch_table.h"

namespace zorvant::watch {

bool isBlankTable(const TableRows& rows) {
    return rows.size() == 1 && rows[0][0].empty();
}

std::vector<WatchRecord> recordsOf(const TableRows& rows) {
    std::vector<WatchRecord> records;
    if (isBlankTable(rows))
        return records;
    records.reserve(rows.size());
    for (const auto& row : rows)
        records.push_back(recordOf(row));
    return records;
}

std::optional<std::size_t> addOrApply(TableRows& rows, std::optional<std::size_t> editing,
                                      const WatchRecord& editors) {
    if (isBlankTable(rows)) {
        rows[0] = rowOf(editors);
        return 0;
    }
    if (editing) {
        if (*editing >= rows.size())
            return std::nullopt;
        rows[*editing] = rowOf(editors);
        return editing;
    }
    if (editors.MessageFile.empty())
        return std::nullopt;
    rows.push_back(rowOf(editors));
    return rows.size() - 1;
}

std::size_t deleteRow(TableRows& rows, std::size_t row) {
    if (row >= rows.size())
        return rows.size() - 1;
    if (rows.size() == 1) {
        rows[0] = TableRow{};
        return 0;
    }
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
    return row < rows.size() ? row : rows.size() - 1;
}

TargetPicker targetPickerFor(std::string_view action) {
    if (action == kPlaySound)
        return {"*.wav|*.wav", "wav"};
    if (action == kRunProgram)
        return {"*.exe; *.cmd; *.bat|*.exe; *.cmd; *.bat", ""};
    return {"*.*|*.*", ""};
}

std::string pickedTarget(std::string_view path) {
    if (path.find(' ') == std::string_view::npos)
        return std::string(path);
    std::string quoted;
    quoted.reserve(path.size() + 2);
    quoted.append(1, '"').append(path).append(1, '"');
    return quoted;
}

std::string_view targetHeadingFor(std::string_view action) {
    if (action == kSendMail)
        return "на электронный адрес"_cp;
    if (action == kSendTelegram)
        return "в чаты Telegram"_cp;
    if (action == kPostToWeb)
        return "на веб-адрес"_cp;
    return "над файлом"_cp;
}

bool targetPickerShownFor(std::string_view action) {
    return action != kSendMail && action != kSendTelegram && action != kPostToWeb;
}

} // namespace zorvant::watch
