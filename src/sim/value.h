#pragma once
// The values a QPL script works with: numbers, Windows-1251 texts, maps and collections. A number, and a
// text of up to 16 characters, lie in the value itself; longer texts, maps and collections are shared
// until changed (copy on write), so copying a value never copies them.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvant::sim {

class MapData;
struct CollectionData;
using MapPtr = std::shared_ptr<MapData>;
using CollectionPtr = std::shared_ptr<CollectionData>;

// A text longer than fits in a value: shared, never changed, counted like a shared_ptr.
struct TextData {
    std::atomic<long> refs;
    std::size_t size;
    const char* chars() const { return reinterpret_cast<const char*>(this + 1); }
};

// Unset is what a variable holds before its first assignment. A tagged union rather than std::variant:
// numbers and short texts, the most common values, are copied, moved and dropped inline; the shared
// kinds out of line.
class Value {
public:
    Value() noexcept : number_(0), size_(0), kind_(Kind::Unset) {}
    Value(double number) noexcept : number_(number), size_(0), kind_(Kind::Number) {}
    Value(std::string_view text) : size_(0), kind_(Kind::Unset) { assignText(text); }
    Value(const std::string& text) : Value(std::string_view(text)) {}
    Value(MapPtr map) noexcept : size_(0), kind_(Kind::Map) { new (&map_) MapPtr(std::move(map)); }
    Value(CollectionPtr collection) noexcept : size_(0), kind_(Kind::Collection) {
        new (&collection_) CollectionPtr(std::move(collection));
    }
    Value(const Value& other) : size_(other.size_), kind_(other.kind_) {
        if (other.ownsData())
            copyOwned(other);
        else
            std::memcpy(short_, other.short_, sizeof short_);
    }
    Value(Value&& other) noexcept : size_(other.size_), kind_(other.kind_) { takeFrom(other); }
    Value& operator=(const Value& other) {
        if (!ownsData() && !other.ownsData()) {
            std::memcpy(short_, other.short_, sizeof short_);
            size_ = other.size_;
            kind_ = other.kind_;
            return *this;
        }
        return assignOwned(other);
    }
    Value& operator=(Value&& other) noexcept {
        if (this == &other)
            return *this;
        reset();
        size_ = other.size_;
        kind_ = other.kind_;
        takeFrom(other);
        return *this;
    }
    ~Value() { reset(); }
    // Drops what the value held, leaving it unset.
    void clear() noexcept { reset(); }
    // The text of a followed by b, made at once.
    static Value joined(std::string_view a, std::string_view b);
    // Makes this value the text, dropping what it held.
    void setText(std::string_view text) {
        Value made(text);
        *this = std::move(made);
    }
    // Makes this value the number, dropping what it held; no temporary on the way.
    void setNumber(double number) noexcept {
        reset();
        number_ = number;
        kind_ = Kind::Number;
    }

    bool isUnset() const { return kind_ == Kind::Unset; }
    bool isNumber() const { return kind_ == Kind::Number; }
    bool isText() const { return kind_ == Kind::ShortText || kind_ == Kind::LongText; }
    bool isMap() const { return kind_ == Kind::Map; }
    bool isCollection() const { return kind_ == Kind::Collection; }

    // Each accessor may be used only when the matching is...() is true.
    double number() const { return number_; }
    std::string_view text() const {
        return kind_ == Kind::ShortText ? std::string_view(short_, size_)
                                        : std::string_view(long_->chars(), long_->size);
    }
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
    enum class Kind : unsigned char { Unset, Number, ShortText, LongText, Map, Collection };
    static constexpr std::size_t kShortText = 16;

    bool ownsData() const { return kind_ >= Kind::LongText; }

    // Numbers, short texts and unset values own nothing: they are dropped without a call.
    void reset() noexcept {
        if (ownsData())
            releaseOwned();
        kind_ = Kind::Unset;
    }

    // What other holds becomes this value's, whose kind_ is already other's; other is left unset.
    void takeFrom(Value& other) noexcept {
        if (kind_ == Kind::Map) {
            new (&map_) MapPtr(std::move(other.map_));
            other.map_.~MapPtr();
        } else if (kind_ == Kind::Collection) {
            new (&collection_) CollectionPtr(std::move(other.collection_));
            other.collection_.~CollectionPtr();
        } else {
            std::memcpy(short_, other.short_, sizeof short_);
        }
        other.kind_ = Kind::Unset;
    }
    void assignText(std::string_view text) { assignText(text, {}); }
    void assignText(std::string_view first, std::string_view second);
    void releaseOwned() noexcept;
    // Share other's long text, map or collection; kind_ is already other's.
    void copyOwned(const Value& other);
    Value& assignOwned(const Value& other);

    // A number, a short text and a long text's pointer are moved and copied as plain bytes.
    union {
        double number_;
        char short_[kShortText];
        TextData* long_;
        MapPtr map_;
        CollectionPtr collection_;
    };
    std::uint8_t size_;
    Kind kind_;
};

// Keys are texts compared byte for byte; lookup is linear, as in the terminal, and maps stay small.
// The first few entries live in the map itself, so that making a map takes one allocation.
class MapData {
public:
    struct Entry {
        // Always a text.
        Value key;
        Value value;
    };

    MapData() noexcept {}
    MapData(const MapData& other);
    MapData& operator=(const MapData&) = delete;
    ~MapData();

    const Value* find(std::string_view key) const {
        for (const Entry& entry : entries())
            if (sameKey(entry.key.text(), key))
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
    // The same, with the key already a text value: a new entry shares it.
    void set(const Value& key, Value value);
    // A new entry for a key the map does not hold yet, as a map being made knows.
    void add(const Value& key, Value value) {
        if (size_ < kInline) {
            new (reinterpret_cast<Entry*>(inline_) + size_) Entry{key, std::move(value)};
            ++size_;
        } else {
            addSpilled(key, std::move(value));
        }
    }
    // In the order the keys were first set.
    std::span<const Entry> entries() const { return {data(), size_}; }

private:
    static constexpr std::size_t kInline = 6;

    void addSpilled(const Value& key, Value value);

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
MapPtr copyMap(const MapData& map);
CollectionPtr makeCollection();
// A map or collection that may be changed without touching another holder of the same data.
MapPtr ownMap(const MapPtr& map);
CollectionPtr ownCollection(const CollectionPtr& collection);

} // namespace zorvant::sim
