#pragma once
// The values a QPL script works with: numbers, Windows-1251 texts, maps and collections. Maps and
// collections are shared until changed (copy on write), so passing them by value costs no copy.
#include <memory>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvant::sim {

struct MapData;
struct CollectionData;
using MapPtr = std::shared_ptr<MapData>;
using CollectionPtr = std::shared_ptr<CollectionData>;

// Unset is what a variable holds before its first assignment. A tagged union rather than std::variant:
// numbers, the most common values, are then copied and dropped without a dispatch.
class Value {
public:
    Value() noexcept : number_(0), kind_(Kind::Unset) {}
    Value(double number) noexcept : number_(number), kind_(Kind::Number) {}
    Value(std::string text) : kind_(Kind::Text) { new (&text_) std::string(std::move(text)); }
    Value(std::string_view text) : Value(std::string(text)) {}
    Value(MapPtr map) noexcept : kind_(Kind::Map) { new (&map_) MapPtr(std::move(map)); }
    Value(CollectionPtr collection) noexcept : kind_(Kind::Collection) {
        new (&collection_) CollectionPtr(std::move(collection));
    }
    // Numbers and unset values are copied, moved and dropped inline; the others out of line.
    Value(const Value& other) : kind_(other.kind_) {
        if (other.ownsData())
            copyOwned(other);
        else
            number_ = other.number_;
    }
    Value(Value&& other) noexcept : kind_(other.kind_) {
        if (other.ownsData())
            moveOwned(std::move(other));
        else
            number_ = other.number_;
    }
    Value& operator=(const Value& other) {
        if (!ownsData() && !other.ownsData()) {
            number_ = other.number_;
            kind_ = other.kind_;
            return *this;
        }
        return assignOwned(other);
    }
    Value& operator=(Value&& other) noexcept {
        if (this == &other)
            return *this;
        reset();
        kind_ = other.kind_;
        if (other.ownsData())
            moveOwned(std::move(other));
        else
            number_ = other.number_;
        return *this;
    }
    ~Value() { reset(); }
    // Drops what the value held, leaving it unset.
    void clear() noexcept { reset(); }
    // Makes this value the text, dropping what it held.
    void setText(std::string text) {
        reset();
        new (&text_) std::string(std::move(text));
        kind_ = Kind::Text;
    }
    // Makes this value the number, dropping what it held; no temporary on the way.
    void setNumber(double number) noexcept {
        reset();
        number_ = number;
        kind_ = Kind::Number;
    }

    bool isUnset() const { return kind_ == Kind::Unset; }
    bool isNumber() const { return kind_ == Kind::Number; }
    bool isText() const { return kind_ == Kind::Text; }
    bool isMap() const { return kind_ == Kind::Map; }
    bool isCollection() const { return kind_ == Kind::Collection; }

    // Each accessor may be used only when the matching is...() is true.
    double number() const { return number_; }
    const std::string& text() const { return text_; }
    const MapPtr& map() const { return map_; }
    const CollectionPtr& collection() const { return collection_; }
    // Moves the map or collection out, leaving this value unset.
    MapPtr takeMap() {
        MapPtr map = std::move(map_);
        reset();
        return map;
    }
    std::string takeText() {
        std::string text = std::move(text_);
        reset();
        return text;
    }
    CollectionPtr takeCollection() {
        CollectionPtr collection = std::move(collection_);
        reset();
        return collection;
    }

private:
    enum class Kind : unsigned char { Unset, Number, Text, Map, Collection };

    bool ownsData() const { return kind_ > Kind::Number; }

    // Numbers and unset values, the most common, own nothing: they are dropped without a call. An unset
    // value holds the number 0, so that it is copied as a number is.
    void reset() noexcept {
        if (ownsData()) {
            releaseOwned();
            number_ = 0;
        }
        kind_ = Kind::Unset;
    }

    void releaseOwned() noexcept;
    // Construct this value's text, map or collection from other's; kind_ is already other's.
    void copyOwned(const Value& other);
    void moveOwned(Value&& other) noexcept {
        switch (other.kind_) {
        case Kind::Text:
            new (&text_) std::string(std::move(other.text_));
            other.text_.~basic_string();
            break;
        case Kind::Map:
            new (&map_) MapPtr(std::move(other.map_));
            other.map_.~MapPtr();
            break;
        default:
            new (&collection_) CollectionPtr(std::move(other.collection_));
            other.collection_.~CollectionPtr();
            break;
        }
        other.number_ = 0;
        other.kind_ = Kind::Unset;
    }
    Value& assignOwned(const Value& other);

    union {
        double number_ = 0;
        std::string text_;
        MapPtr map_;
        CollectionPtr collection_;
    };
    Kind kind_;
};

// Keys are texts compared byte for byte; lookup is linear, as in the terminal, and maps stay small.
// The first few entries live in the map itself, so that making a map takes one allocation.
class MapData {
public:
    struct Entry {
        std::string key;
        Value value;
    };

    MapData() noexcept {}
    MapData(const MapData& other);
    MapData& operator=(const MapData&) = delete;
    ~MapData();

    const Value* find(std::string_view key) const {
        for (const Entry& entry : entries())
            if (sameKey(entry.key, key))
                return &entry.value;
        return nullptr;
    }
    // Keys are short: compared byte by byte in place rather than through a library call.
    static bool sameKey(std::string_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }
    void set(std::string_view key, Value value);
    // In the order the keys were first set.
    std::span<const Entry> entries() const { return {data(), size_}; }

private:
    static constexpr std::size_t kInline = 4;

    const Entry* data() const {
        return spilled_.empty() ? reinterpret_cast<const Entry*>(inline_) : spilled_.data();
    }
    Entry* data() { return spilled_.empty() ? reinterpret_cast<Entry*>(inline_) : spilled_.data(); }

    std::size_t size_ = 0;
    alignas(Entry) unsigned char inline_[kInline * sizeof(Entry)];
    // Every entry, once there are more than fit inline.
    std::vector<Entry> spilled_;
};

struct CollectionData {
    std::vector<Value> items;
};

MapPtr makeMap();
CollectionPtr makeCollection();
// A map or collection that may be changed without touching another holder of the same data.
MapPtr ownMap(const MapPtr& map);
CollectionPtr ownCollection(const CollectionPtr& collection);

} // namespace zorvant::sim
