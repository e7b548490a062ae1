#include "sim/value.h"

#include <memory>
#include <utility>

namespace zorvant::sim {

namespace {

// Maps and texts of a line or so are made and dropped by the dozen in every recalculation. Their
// blocks go on a list of the thread's own for the next ones rather than back to malloc, whose cache
// holds only a few. Under the address sanitizer they go back at once, so that it still sees a map or
// text used after it is gone; on Windows too, where MinGW's thread-local objects are unsafe to tear
// down as a thread ends (the list's destructor met freed memory there).
#if defined(__SANITIZE_ADDRESS__) || defined(_WIN32)
constexpr bool kKeepBlocks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kKeepBlocks = false;
#else
constexpr bool kKeepBlocks = true;
#endif
#else
constexpr bool kKeepBlocks = true;
#endif

// Blocks of one type's size, for one thread.
template <typename T> class FreeBlocks {
public:
    static void* take() {
        if constexpr (kKeepBlocks) {
            if (Node* node = list_.first; node != nullptr) {
                list_.first = node->next;
                --list_.count;
                return node;
            }
        }
        return ::operator new(sizeof(T));
    }
    static void give(void* block) noexcept {
        if constexpr (kKeepBlocks) {
            if (!gone_ && list_.count < kMost) {
                list_.first = new (block) Node{list_.first};
                ++list_.count;
                return;
            }
        }
        ::operator delete(block);
    }

private:
    struct Node {
        Node* next;
    };
    static_assert(sizeof(T) >= sizeof(Node));
    static constexpr std::size_t kMost = 256;
    struct List {
        Node* first = nullptr;
        std::size_t count = 0;
        ~List() {
            // Blocks given back later, by maps that outlive the thread's list, are freed at once.
            gone_ = true;
            while (first != nullptr)
                ::operator delete(std::exchange(first, first->next));
        }
    };
    static thread_local inline bool gone_ = false;
    static thread_local inline List list_;
};

template <typename T> struct MapAllocator {
    using value_type = T;
    MapAllocator() = default;
    template <typename U> MapAllocator(const MapAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        return static_cast<T*>(n == 1 ? FreeBlocks<T>::take() : ::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if (n == 1)
            FreeBlocks<T>::give(p);
        else
            ::operator delete(p);
    }
    template <typename U> bool operator==(const MapAllocator<U>&) const noexcept { return true; }
};

// Texts of a line or so, joined and dropped in every recalculation, in blocks of one size.
struct alignas(TextData) SmallText {
    unsigned char bytes[64];
};
constexpr std::size_t kSmallText = sizeof(SmallText) - sizeof(TextData);

void copyChars(char* to, std::string_view first, std::string_view second) {
    if (!first.empty())
        std::memcpy(to, first.data(), first.size());
    if (!second.empty())
        std::memcpy(to + first.size(), second.data(), second.size());
}

} // namespace

Value Value::joined(std::string_view a, std::string_view b) {
    Value value;
    value.assignText(a, b);
    return value;
}

void Value::assignText(std::string_view first, std::string_view second) {
    const std::size_t size = first.size() + second.size();
    if (size <= kShortText) {
        copyChars(short_, first, second);
        size_ = static_cast<std::uint8_t>(size);
        kind_ = Kind::ShortText;
        return;
    }
    void* memory =
        size <= kSmallText ? FreeBlocks<SmallText>::take() : ::operator new(sizeof(TextData) + size);
    auto* data = new (memory) TextData{{1}, size};
    copyChars(reinterpret_cast<char*>(data + 1), first, second);
    long_ = data;
    kind_ = Kind::LongText;
}

void Value::releaseOwned() noexcept {
    switch (kind_) {
    case Kind::LongText:
        if (long_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            const bool small = long_->size <= kSmallText;
            long_->~TextData();
            if (small)
                FreeBlocks<SmallText>::give(long_);
            else
                ::operator delete(long_);
        }
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
    case Kind::LongText:
        long_ = other.long_;
        long_->refs.fetch_add(1, std::memory_order_relaxed);
        break;
    case Kind::Map:
        new (&map_) MapPtr(other.map_);
        break;
    default:
        new (&collection_) CollectionPtr(other.collection_);
        break;
    }
}

// Copied before this value lets go of what it holds, which may own other.
Value& Value::assignOwned(const Value& other) {
    if (this == &other)
        return *this;
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
    set(Value(key), std::move(value));
}

void MapData::set(const Value& key, Value value) {
    const std::string_view text = key.text();
    for (Entry& entry : std::span<Entry>(data(), size_))
        if (sameKey(entry.key.text(), text)) {
            entry.value = std::move(value);
            return;
        }
    add(key, std::move(value));
}

// The entries move out of the map itself once there are more than fit there.
void MapData::addSpilled(const Value& key, Value value) {
    if (spilled_.empty()) {
        spilled_.reserve(2 * kInline);
        Entry* first = reinterpret_cast<Entry*>(inline_);
        for (std::size_t i = 0; i < size_; ++i)
            spilled_.push_back(std::move(first[i]));
        std::destroy_n(first, size_);
    }
    spilled_.push_back({key, std::move(value)});
    ++size_;
}

MapPtr makeMap() {
    return std::allocate_shared<MapData>(MapAllocator<MapData>());
}
MapPtr copyMap(const MapData& map) {
    return std::allocate_shared<MapData>(MapAllocator<MapData>(), map);
}
CollectionPtr makeCollection() {
    return std::make_shared<CollectionData>();
}

MapPtr ownMap(const MapPtr& map) {
    return map.use_count() == 1 ? map : copyMap(*map);
}

CollectionPtr ownCollection(const CollectionPtr& collection) {
    return collection.use_count() == 1 ? collection : std::make_shared<CollectionData>(*collection);
}

} // namespace zorvant::sim
