#include "entries.h"

namespace zorvant::fuzz {

const std::vector<Target>& targets() {
    static const std::vector<Target> all = {
        {"text_codec", textCodec},
        {"number_parser", numberParser},
        {"number_format", numberFormat},
        {"line_splitters", lineSplitters},
        {"settings_reader", settingsReader},
        {"conditions_reader", conditionsReader},
        {"description_reader", descriptionReader},
        {"qpl_simulator", qplSimulator},
        {"candle_reader", candleReader},
        {"mail_composer", mailComposer},
        {"smtp_endpoint", smtpEndpoint},
        {"wave_header", waveHeader},
    };
    return all;
}

Entry entryNamed(std::string_view name) {
    for (const auto& target : targets())
        if (target.name == name)
            return target.entry;
    return nullptr;
}

void keep(std::size_t value) {
    static volatile std::size_t sink;
    sink = sink + value;
}

} // namespace zorvant::fuzz
