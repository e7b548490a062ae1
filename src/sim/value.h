#pragma once
// The values a QPL script works with: numbers, Windows-1251 texts, maps and collections. Maps and
// collections are shared until changed (copy on write), so passing them by value costs no copy.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace zorvant::sim {

struct MapData;
struct CollectionData;
using MapPtr = std::shared_ptr<MapData>;
using CollectionPtr = std::shared_ptr<CollectionData>;

// Unset is what a variable holds before its first assignment.
struct Unset {};

class Value {
public:
    Value() = default;
    Value(double number) : data_(number) {}
    Value(std::string text) : data_(std::move(text)) {}
    Value(std::string_view text) : data_(std::string(text)) {}
    Value(MapPtr map) : data_(std::move(map)) {}
    Value(CollectionPtr collection) : data_(std::move(collection)) {}

    bool isUnset() const { return std::holds_alternative<Unset>(data_); }
    bool isNumber() const { return std::holds_alternative<double>(data_); }
    bool isText() const { return std::holds_alternative<std::string>(data_); }
    bool isMap() const { return std::holds_alternative<MapPtr>(data_); }
    bool isCollection() const { return std::holds_alternative<CollectionPtr>(data_); }

    double number() const { return std::get<double>(data_); }
    const std::string& text() const { return std::get<std::string>(data_); }
    const MapPtr& map() const { return std::get<MapPtr>(data_); }
    const CollectionPtr& collection() const { return std::get<CollectionPtr>(data_); }
    // Moves the map or collection out, leaving this value unset.
    MapPtr takeMap() { return std::move(std::get<MapPtr>(std::exchange(data_, Unset{}))); }
    CollectionPtr takeCollection() {
        return std::move(std::get<CollectionPtr>(std::exchange(data_, Unset{})));
    }

private:
    std::variant<Unset, double, std::string, MapPtr, CollectionPtr> data_;
};

// Keys are texts compared byte for byte; lookup is linear, as in the terminal, and maps stay small.
struct MapData {
    std::vector<std::pair<std::string, Value>> entries;

    const Value* find(std::string_view key) const;
    void set(std::string_view key, Value value);
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
