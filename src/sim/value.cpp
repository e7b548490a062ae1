#include "sim/value.h"

#include <memory>

namespace zorvant::sim {

void Value::releaseOwned() noexcept {
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

void Value::copyOwned(const Value& other) {
    switch (other.kind_) {
    case Kind::Text:
        new (&text_) std::string(other.text_);
        break;
    case Kind::Map:
        new (&map_) MapPtr(other.map_);
        break;
    default:
        new (&collection_) CollectionPtr(other.collection_);
        break;
    }
}

Value& Value::assignOwned(const Value& other) {
    if (this == &other)
        return *this;
    if (kind_ == Kind::Text && other.kind_ == Kind::Text) {
        text_ = other.text_;
        return *this;
    }
    // Copied before this value lets go of what it holds, which may own other.
    Value copy(other);
    return *this = std::move(copy);
}

MapData::MapData(const MapData& other) {
    if (!other.spilled_.empty()) {
        spilled_ = other.spilled_;
        size_ = other.size_;
        return;
    }
    try {
        for (const Entry& entry : other.entries()) {
            new (reinterpret_cast<Entry*>(inline_) + size_) Entry(entry);
            ++size_;
        }
    } catch (...) {
        std::destroy_n(reinterpret_cast<Entry*>(inline_), size_);
        throw;
    }
}

MapData::~MapData() {
    if (spilled_.empty())
        std::destroy_n(reinterpret_cast<Entry*>(inline_), size_);
}

void MapData::set(std::string_view key, Value value) {
    for (Entry& entry : std::span<Entry>(data(), size_))
        if (sameKey(entry.key, key)) {
            entry.value = std::move(value);
            return;
        }
    if (size_ < kInline) {
        new (reinterpret_cast<Entry*>(inline_) + size_) Entry{std::string(key), std::move(value)};
        ++size_;
        return;
    }
    if (spilled_.empty()) {
        spilled_.reserve(2 * kInline);
        Entry* first = reinterpret_cast<Entry*>(inline_);
        for (std::size_t i = 0; i < size_; ++i)
            spilled_.push_back(std::move(first[i]));
        std::destroy_n(first, size_);
    }
    spilled_.push_back({std::string(key), std::move(value)});
    ++size_;
}

MapPtr makeMap() {
    return std::make_shared<MapData>();
}
CollectionPtr makeCollection() {
    return std::make_shared<CollectionData>();
}

MapPtr ownMap(const MapPtr& map) {
    return map.use_count() == 1 ? map : std::make_shared<MapData>(*map);
}

CollectionPtr ownCollection(const CollectionPtr& collection) {
    return collection.use_count() == 1 ? collection : std::make_shared<CollectionData>(*collection);
}

} // namespace zorvant::sim
