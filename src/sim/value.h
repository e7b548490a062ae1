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
    Value() noexcept : kind_(Kind::Unset) {}
    Value(double number) noexcept : number_(number), kind_(Kind::Number) {}
    Value(std::string text) : kind_(Kind::Text) { new (&text_) std::string(std::move(text)); }
    Value(std::string_view text) : Value(std::string(text)) {}
    Value(MapPtr map) noexcept : kind_(Kind::Map) { new (&map_) MapPtr(std::move(map)); }
    Value(CollectionPtr collection) noexcept : kind_(Kind::Collection) {
        new (&collection_) CollectionPtr(std::move(collection));
    }
    Value(const Value& other) : kind_(Kind::Unset) { copyFrom(other); }
    Value(Value&& other) noexcept : kind_(Kind::Unset) { moveFrom(std::move(other)); }
    Value& operator=(const Value& other) {
        if (this == &other)
            return *this;
        if (kind_ == Kind::Text && other.kind_ == Kind::Text) {
            text_ = other.text_;
            return *this;
        }
        reset();
        copyFrom(other);
        return *this;
    }
    Value& operator=(Value&& other) noexcept {
        if (this != &other) {
            reset();
            moveFrom(std::move(other));
        }
        return *this;
    }
    ~Value() { reset(); }
    // Drops what the value held, leaving it unset.
    void clear() noexcept { reset(); }
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
    CollectionPtr takeCollection() {
        CollectionPtr collection = std::move(collection_);
        reset();
        return collection;
    }

private:
    enum class Kind : unsigned char { Unset, Number, Text, Map, Collection };

    // Numbers and unset values, the most common, own nothing: they are dropped without a call.
    void reset() noexcept {
        if (kind_ > Kind::Number)
            releaseOwned();
        kind_ = Kind::Unset;
    }

    void releaseOwned() noexcept {
        switch (kind_) {
        case Kind::Text:
            text_.~basic_string();
            break;
        case Kind::Map:
            map_.~MapPtr();
            break;
        case Kind::Collection:
            collection_.~CollectionPtr();
            break;
        default:
            break;
        }
    }

    void copyFrom(const Value& other) {
        switch (other.kind_) {
        case Kind::Number:
            number_ = other.number_;
            break;
        case Kind::Text:
            new (&text_) std::string(other.text_);
            break;
        case Kind::Map:
            new (&map_) MapPtr(other.map_);
            break;
        case Kind::Collection:
            new (&collection_) CollectionPtr(other.collection_);
            break;
        case Kind::Unset:
            break;
        }
        kind_ = other.kind_;
    }

    void moveFrom(Value&& other) noexcept {
        switch (other.kind_) {
        case Kind::Number:
            number_ = other.number_;
            break;
        case Kind::Text:
            new (&text_) std::string(std::move(other.text_));
            break;
        case Kind::Map:
            new (&map_) MapPtr(std::move(other.map_));
            break;
        case Kind::Collection:
            new (&collection_) CollectionPtr(std::move(other.collection_));
            break;
        case Kind::Unset:
            break;
        }
        kind_ = other.kind_;
        other.reset();
    }

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
            if (entry.key == key)
                return &entry.value;
        return nullptr;
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
