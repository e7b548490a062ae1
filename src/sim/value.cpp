#include "sim/value.h"

namespace zorvant::sim {

const Value* MapData::find(std::string_view key) const {
    for (const auto& [k, v] : entries)
        if (k == key)
            return &v;
    return nullptr;
}

void MapData::set(std::string_view key, Value value) {
    for (auto& [k, v] : entries)
        if (k == key) {
            v = std::move(value);
            return;
        }
    // Script maps mostly hold a few keys; room for them at once saves a reallocation per key.
    if (entries.empty())
        entries.reserve(4);
    entries.emplace_back(std::string(key), std::move(value));
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
