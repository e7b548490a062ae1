#pragma once
// A small JSON reader for what the test SMTP server writes: objects, arrays, strings (UTF-8), numbers,
// true, false and null.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zorvant::testing {

class JsonValue {
public:
    using Array = std::vector<JsonValue>;
    using Object = std::map<std::string, JsonValue>;

    static JsonValue parse(std::string_view text); // throws std::runtime_error

    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    const std::string& str() const;
    bool boolean() const;
    double number() const { return std::get<double>(value_); }
    const Array& array() const;
    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](std::size_t index) const { return array().at(index); }

    // Strings of an array, for comparing a whole list at once.
    std::vector<std::string> strings() const;

private:
    friend class JsonReader;
    std::variant<std::monostate, bool, double, std::string, std::shared_ptr<Array>, std::shared_ptr<Object>>
        value_;
};

} // namespace zorvant::testing
