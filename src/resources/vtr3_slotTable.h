// The record array behind every manager: identifier-keyed records searched linearly from the first,
// a record freed by a deletion reused before the array grows, and shrinking only on request.
//
// A record type is a plain value whose default construction gives the fresh record; it has the
// fields `id` and `inUse` (exactly 1 marks it in use). Growth and compaction copy records whole, so
// a resource pointer moves with its record and keeps its single reference.
#ifndef VTR3_SLOTTABLE_H
#define VTR3_SLOTTABLE_H

#include <string.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <new>
#include <type_traits>

// The byte size of `count` records of `recordSize` bytes, or false when it does not fit in `Size`.
// On a 32-bit build a few million records already overflow size_t, and a wrapped size would allocate
// a few bytes for a table of millions of records.
template <typename Size> bool VTR3ArrayBytes(Size recordSize, Size count, Size* bytes) {
    if (count != 0 && recordSize > std::numeric_limits<Size>::max() / count) {
        return false;
    }
    *bytes = recordSize * count;
    return true;
}

// `Size` is the width the byte sizes are worked out in: the build's size_t, or a narrower type to
// try the limits of a 32-bit build on a wider one.
template <typename Slot, typename Size = size_t> class c_VTR3SlotTable {
    static_assert(std::is_trivially_copyable<Slot>::value,
                  "records are copied whole by growth and compaction");

  public:
    c_VTR3SlotTable() : m_count(0), m_slots(nullptr) {}
    ~c_VTR3SlotTable() { ::operator delete(m_slots); }
    c_VTR3SlotTable(const c_VTR3SlotTable&) = delete;
    c_VTR3SlotTable& operator=(const c_VTR3SlotTable&) = delete;

    unsigned int Count() const { return m_count; }
    Slot& At(unsigned int index) { return m_slots[index]; }
    const Slot& At(unsigned int index) const { return m_slots[index]; }

    // Appends `count` fresh records behind the old ones, which keep their order. False (and the table
    // unchanged) when the count or the byte size would overflow or the heap is exhausted.
    bool Grow(unsigned int count) {
        if (count == 0) {
            return true;
        }
        if (count > ~0u - m_count) {
            return false;
        }
        Slot* grown = Allocate(m_count + count);
        if (!grown) {
            return false;
        }
        if (m_count > 0) {
            memcpy(static_cast<void*>(grown), m_slots, sizeof(Slot) * m_count);
        }
        std::uninitialized_fill(grown + m_count, grown + m_count + count, Slot());
        Adopt(grown, m_count + count);
        return true;
    }

    // Keeps exactly the records in use, in their relative order. Unchanged when the heap is exhausted.
    void Compact() {
        const unsigned int used =
            static_cast<unsigned int>(std::count_if(m_slots, m_slots + m_count, IsInUse));
        Slot* compacted = nullptr;
        if (used > 0) {
            compacted = Allocate(used);
            if (!compacted) {
                return;
            }
            Slot* next = compacted;
            for (unsigned int i = 0; i < m_count; ++i) {
                if (IsInUse(m_slots[i])) {
                    new (next++) Slot(m_slots[i]);
                }
            }
        }
        Adopt(compacted, used);
    }

    void Free() { Adopt(nullptr, 0); }

    // The first record that is not in use, or null.
    Slot* FirstFree() {
        Slot* end = m_slots + m_count;
        Slot* found = std::find_if(m_slots, end, [](const Slot& slot) { return !IsInUse(slot); });
        return found == end ? nullptr : found;
    }

    // The first record in use with this id, or null; free records never match.
    Slot* Find(int id) {
        for (unsigned int i = 0; i < m_count; ++i) {
            if (m_slots[i].inUse == 1 && m_slots[i].id == id) {
                return &m_slots[i];
            }
        }
        return nullptr;
    }

    static bool IsInUse(const Slot& slot) { return slot.inUse == 1; }

  private:
    // Raw storage: growth constructs only the records it adds, and copies the others once.
    static Slot* Allocate(unsigned int count) {
        static_assert(sizeof(Size) <= sizeof(size_t), "byte sizes are allocated as size_t");
        Size bytes = 0;
        if (!VTR3ArrayBytes<Size>(static_cast<Size>(sizeof(Slot)), static_cast<Size>(count), &bytes)) {
            return nullptr;
        }
        return static_cast<Slot*>(::operator new(static_cast<size_t>(bytes), std::nothrow));
    }

    void Adopt(Slot* slots, unsigned int count) {
        ::operator delete(m_slots);
        m_slots = slots;
        m_count = count;
    }

    unsigned int m_count;
    Slot* m_slots;
};

#endif
