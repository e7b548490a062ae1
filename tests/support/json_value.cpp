#include "support/json_value.h"

#include <stdexcept>

namespace zorvant::testing {

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    JsonValue value() {
        skipBlanks();
        JsonValue result;
        const char c = peek();
        if (c == '{')
            result.value_ = object();
        else if (c == '[')
            result.value_ = array();
        else if (c == '"')
            result.value_ = string();
        else if (word("true"))
            result.value_ = true;
        else if (word("false"))
            result.value_ = false;
        else if (!word("null"))
            result.value_ = number();
        return result;
    }

    void end() {
        skipBlanks();
        if (pos_ != text_.size())
            fail("text after the value");
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at " + std::to_string(pos_));
    }
    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    char next() {
        if (pos_ >= text_.size())
            fail("unexpected end");
        return text_[pos_++];
    }
    void expect(char c) {
        skipBlanks();
        if (next() != c)
            fail(std::string("expected ") + c);
    }
    void skipBlanks() {
        while (pos_ < text_.size() && std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos)
            ++pos_;
    }
    bool word(std::string_view w) {
        if (text_.substr(pos_, w.size()) != w)
            return false;
        pos_ += w.size();
        return true;
    }

    std::shared_ptr<JsonValue::Object> object() {
        auto result = std::make_shared<JsonValue::Object>();
        expect('{');
        skipBlanks();
        if (peek() == '}')
            return ++pos_, result;
        for (;;) {
            skipBlanks();
            const std::string key = string();
            expect(':');
            (*result)[key] = value();
            skipBlanks();
            const char c = next();
            if (c == '}')
                return result;
            if (c != ',')
                fail("expected , or }");
        }
    }

    std::shared_ptr<JsonValue::Array> array() {
        auto result = std::make_shared<JsonValue::Array>();
        expect('[');
        skipBlanks();
        if (peek() == ']')
            return ++pos_, result;
        for (;;) {
            result->push_back(value());
            skipBlanks();
            const char c = next();
            if (c == ']')
                return result;
            if (c != ',')
                fail("expected , or ]");
        }
    }

    double number() {
        std::size_t used = 0;
        const double result = std::stod(std::string(text_.substr(pos_, 32)), &used);
        pos_ += used;
        return result;
    }

    void appendUtf8(std::string& out, char32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    char32_t hex4() {
        const std::string digits(text_.substr(pos_, 4));
        if (digits.size() != 4)
            fail("short \\u escape");
        pos_ += 4;
        return static_cast<char32_t>(std::stoul(digits, nullptr, 16));
    }

    std::string string() {
        if (next() != '"')
            fail("expected a string");
        std::string out;
        for (char c = next(); c != '"'; c = next()) {
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = next();
            const std::string_view simple = "\"\\/bfnrt";
            const std::string_view meaning = "\"\\/\b\f\n\r\t";
            if (const auto at = simple.find(e); at != std::string_view::npos) {
                out += meaning[at];
            } else if (e == 'u') {
                char32_t cp = hex4();
                if (cp >= 0xD800 && cp < 0xDC00 && word("\\u"))
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (hex4() - 0xDC00);
                appendUtf8(out, cp);
            } else {
                fail("bad escape");
            }
        }
        return out;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

JsonValue JsonValue::parse(std::string_view text) {
    JsonReader reader(text);
    JsonValue result = reader.value();
    reader.end();
    return result;
}

const std::string& JsonValue::str() const {
    return std::get<std::string>(value_);
}

bool JsonValue::boolean() const {
    return std::get<bool>(value_);
}

const JsonValue::Array& JsonValue::array() const {
    return *std::get<std::shared_ptr<Array>>(value_);
}

const JsonValue& JsonValue::operator[](const std::string& key) const {
    const auto& object = *std::get<std::shared_ptr<Object>>(value_);
    const auto found = object.find(key);
    if (found == object.end())
        throw std::runtime_error("JSON: no key " + key);
    return found->second;
}

std::vector<std::string> JsonValue::strings() const {
    std::vector<std::string> out;
    for (const auto& item : array())
        out.push_back(item.str());
    return out;
}

} // namespace zorvant::testing
