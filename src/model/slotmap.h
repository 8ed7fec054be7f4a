#pragma once

#include <QList>
#include <QMap>
#include <QSharedData>
#include <QSharedDataPointer>

#include <array>
#include <iterator>
#include <optional>
#include <type_traits>

// A map from slot index to value, ascending by index, whose copies are cheap
// to change: the slots are kept in chunks of 256 consecutive indexes, each
// shared between copies until written. An undo history holds whole copies of
// sets of up to 65,536 images; a change to one image then copies one chunk
// and the chunk index instead of every entry, and comparing two such states
// skips the chunks they still share.
template<typename T>
class SlotMap {
    static constexpr int chunkBits = 8;
    static constexpr int chunkSize = 1 << chunkBits;

    struct Chunk : QSharedData {
        std::array<std::optional<T>, chunkSize> entries;
        int count = 0; // entries held; a chunk left without any is dropped
    };
    using Chunks = QMap<int, QSharedDataPointer<Chunk>>;

    // The arithmetic shift rounds negative indexes down too, so the chunks
    // follow each other in index order.
    static int chunkKeyOf(int key) { return key >> chunkBits; }
    static int offsetOf(int key) { return key & (chunkSize - 1); }

public:
    // Stepping a writable iterator leaves the chunks shared; taking its value
    // gives the map its own copy of that value's chunk, as a write may follow.
    template<bool isConst>
    class Iterator {
        using ChunkIterator = std::conditional_t<isConst, typename Chunks::const_iterator, typename Chunks::iterator>;

    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using reference = std::conditional_t<isConst, const T&, T&>;
        using pointer = std::conditional_t<isConst, const T*, T*>;

        int key() const { return chunk.key() * chunkSize + offset; }
        reference value() const { return *chunk.value()->entries[size_t(offset)]; }
        reference operator*() const { return value(); }
        pointer operator->() const { return &value(); }
        Iterator& operator++()
        {
            ++offset;
            skipEmpty();
            return *this;
        }
        bool operator==(const Iterator& other) const { return chunk == other.chunk && offset == other.offset; }
        bool operator!=(const Iterator& other) const { return !(*this == other); }

    private:
        friend class SlotMap;
        Iterator(ChunkIterator chunk, ChunkIterator chunksEnd, int offset)
            : chunk(chunk)
            , chunksEnd(chunksEnd)
            , offset(offset)
        {
            skipEmpty();
        }

        void skipEmpty()
        {
            while (chunk != chunksEnd) {
                const auto& entries = chunk.value().constData()->entries;
                while (offset < chunkSize && !entries[size_t(offset)])
                    ++offset;
                if (offset < chunkSize)
                    return;
                ++chunk;
                offset = 0;
            }
        }

        ChunkIterator chunk;
        ChunkIterator chunksEnd;
        int offset;
    };
    using iterator = Iterator<false>;
    using const_iterator = Iterator<true>;

    iterator begin() { return iterator(chunks.begin(), chunks.end(), 0); }
    iterator end() { return iterator(chunks.end(), chunks.end(), 0); }
    const_iterator cbegin() const { return const_iterator(chunks.cbegin(), chunks.cend(), 0); }
    const_iterator cend() const { return const_iterator(chunks.cend(), chunks.cend(), 0); }

    iterator find(int key)
    {
        return contains(key) ? iterator(chunks.find(chunkKeyOf(key)), chunks.end(), offsetOf(key)) : end();
    }
    const_iterator constFind(int key) const
    {
        return contains(key) ? const_iterator(chunks.constFind(chunkKeyOf(key)), chunks.cend(), offsetOf(key))
                             : cend();
    }

    bool contains(int key) const
    {
        const auto chunk = chunks.constFind(chunkKeyOf(key));
        return chunk != chunks.cend() && (*chunk)->entries[size_t(offsetOf(key))].has_value();
    }
    T value(int key, const T& defaultValue = T()) const
    {
        const const_iterator found = constFind(key);
        return found != cend() ? *found : defaultValue;
    }

    int size() const
    {
        int count = 0;
        for (const QSharedDataPointer<Chunk>& chunk : chunks)
            count += chunk->count;
        return count;
    }
    // No chunk is ever left empty.
    bool isEmpty() const { return chunks.isEmpty(); }
    QList<int> keys() const
    {
        QList<int> result;
        for (auto it = cbegin(); it != cend(); ++it)
            result.append(it.key());
        return result;
    }
    int lastKey() const
    {
        const auto last = std::prev(chunks.cend());
        int offset = chunkSize - 1;
        while (!(*last)->entries[size_t(offset)])
            --offset;
        return last.key() * chunkSize + offset;
    }

    iterator insert(int key, const T& value)
    {
        auto chunk = chunks.find(chunkKeyOf(key));
        if (chunk == chunks.end())
            chunk = chunks.insert(chunkKeyOf(key), QSharedDataPointer<Chunk>(new Chunk));
        Chunk& written = *chunk.value();
        std::optional<T>& entry = written.entries[size_t(offsetOf(key))];
        if (!entry)
            ++written.count;
        entry = value;
        return iterator(chunk, chunks.end(), offsetOf(key));
    }
    T& operator[](int key)
    {
        const iterator found = find(key);
        return found != end() ? *found : *insert(key, T());
    }
    void remove(int key)
    {
        // Nothing to remove leaves every chunk shared.
        if (!contains(key))
            return;
        const auto chunk = chunks.find(chunkKeyOf(key));
        if (chunk.value().constData()->count == 1) {
            chunks.erase(chunk);
            return;
        }
        Chunk& written = *chunk.value();
        written.entries[size_t(offsetOf(key))].reset();
        --written.count;
    }
    void clear() { chunks.clear(); }

    bool operator==(const SlotMap& other) const
    {
        if (chunks.size() != other.chunks.size())
            return false;
        for (auto mine = chunks.cbegin(), theirs = other.chunks.cbegin(); mine != chunks.cend(); ++mine, ++theirs) {
            if (mine.key() != theirs.key())
                return false;
            if (mine.value() != theirs.value() && (*mine)->entries != (*theirs)->entries)
                return false;
        }
        return true;
    }
    bool operator!=(const SlotMap& other) const { return !(*this == other); }

private:
    Chunks chunks;
};
