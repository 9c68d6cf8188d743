// The part that the four managers share: a slot table behind the common life cycle, with the
// methods that every manager has under the same names and the rows that go with them. Each
// manager adds its own record type, texts and operations.
//
// A record type for this template is a plain value (see vtr3_slotTable.h) with two more members:
// ReleaseResource(), which releases the device resources the record owns and clears the references
// (the record stays in use and keeps its settings), and Discard(), which gives back everything the
// record owns before the slot table deletes it (a delete operation, the freeing of all records).
#ifndef VTR3_SLOTMANAGER_H
#define VTR3_SLOTMANAGER_H

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_deviceResources.h"
#include "frame/vtr3_globals.h"
#include "frame/vtr3_managerLifecycle.h"
#include "resources/vtr3_slotTable.h"

// The texts of a manager's slot rows; each format takes the identifier as its value (a text that
// does not name it ignores it).
struct VTR3SlotTexts {
    const char* className;    // "c_VTR3ViewManager"
    const char* notFound;     // error row: no record in use with that identifier
    const char* duplicate;    // warning row: the create operation finds the identifier in use
    int duplicateHasLocation; // whether the warning row shows where it was raised
    const char* exhausted;    // error row: no free record even after growing
    const char* created;      // information row of a creation; null when the manager writes its own
    const char* deleted;      // information row of a deletion
};

template <typename Slot> class c_VTR3SlotManager : public c_VTR3ManagerLifecycle {
  public:
    // How many records a create operation adds when it finds none free.
    static const int GROWTH = 10;

    void DeInitialize() {
        if (!Check("DeInitialize", __LINE__)) {
            return;
        }
        ReleaseAllData();
        ReleaseAllSlots();
        MarkDeInitialized();
    }

    // Grows the table by |count| fresh records.
    void AllocateNewMemory(int count) {
        if (!Check("AllocateNewMemory", __LINE__)) {
            return;
        }
        const unsigned int magnitude =
            count < 0 ? 0u - static_cast<unsigned int>(count) : static_cast<unsigned int>(count);
        m_table.Grow(magnitude);
    }

    // A reference into the table, valid until it next grows or is compacted.
    Slot* GetFreeSlot() { return Check("GetFreeSlot", __LINE__) ? m_table.FirstFree() : nullptr; }
    Slot* GetSlotByID(int id) { return Check("GetSlotByID", __LINE__) ? m_table.Find(id) : nullptr; }

    void ReduceMemoryOverhead() {
        if (Check("ReduceMemoryOverhead", __LINE__)) {
            m_table.Compact();
        }
    }

    // Releases what the records in use own; they keep their identifiers and settings.
    void ReleaseAllData() {
        if (!Check("ReleaseAllData", __LINE__)) {
            return;
        }
        for (unsigned int i = 0; i < m_table.Count(); ++i) {
            if (m_table.IsInUse(m_table.At(i))) {
                m_table.At(i).ReleaseResource();
            }
        }
    }

    void ReleaseAllSlots() {
        if (Check("ReleaseAllSlots", __LINE__)) {
            for (unsigned int i = 0; i < m_table.Count(); ++i) {
                m_table.At(i).Discard();
            }
            m_table.Free();
        }
    }

    // Inspection for tests and benchmarks: the number of records and a record by position.
    unsigned int GetSlotCount() const { return m_table.Count(); }
    const Slot* GetSlotAt(unsigned int index) const {
        return index < m_table.Count() ? &m_table.At(index) : nullptr;
    }

  protected:
    c_VTR3SlotManager(const VTR3ManagerTexts& texts, const VTR3SlotTexts& slotTexts, int initialCount)
        : c_VTR3ManagerLifecycle(texts), m_slotTexts(slotTexts), m_initialCount(initialCount) {}
    ~c_VTR3SlotManager() = default;

    // Initialize. The plug-in frame repeats its whole start-up when a script calls VTR3Initialize
    // again; a manager that is still initialised then keeps its table as it is, so no record is
    // lost and no resource leaks. Only the information row is written again.
    void InitializeSlots() {
        if (!m_initialized) {
            m_table.Free();
            m_table.Grow(static_cast<unsigned int>(m_initialCount));
        }
        MarkInitialized();
    }

    // The initialised check under the method's qualified name.
    bool Check(const char* method, int line) const {
        return m_initialized ||
               CheckInitialized(VTR3QualifiedName(m_slotTexts.className, method).c_str(), line);
    }

    // The exists query: 1 when a record in use has the id; writes no not-found row.
    int Exists(int id, const char* method, int line) {
        return Check(method, line) && m_table.Find(id) ? 1 : 0;
    }

    // The record in use with this id, or null after the not-initialised or not-found row.
    Slot* Lookup(int id, const char* method, int line) {
        if (!Check(method, line)) {
            return nullptr;
        }
        Slot* slot = m_table.Find(id);
        if (!slot) {
            LogError(method, line, m_slotTexts.notFound, id);
        }
        return slot;
    }

    // The create operation up to its own fields: a free record (the table grows when there is none)
    // now in use under this id, or null after the row that says why. The information row comes before
    // the manager sets its own fields, which never fails.
    Slot* CreateSlot(int id, const char* method, int line) {
        if (!Check(method, line)) {
            return nullptr;
        }
        if (m_table.Find(id)) {
            g_debugSystem.LogWarning(Texts().sourceFile, line,
                                     VTR3QualifiedName(m_slotTexts.className, method).c_str(),
                                     m_slotTexts.duplicateHasLocation, m_slotTexts.duplicate, id);
            return nullptr;
        }
        Slot* slot = m_table.FirstFree();
        if (!slot) {
            m_table.Grow(GROWTH);
            slot = m_table.FirstFree();
        }
        if (!slot) {
            LogError(method, line, m_slotTexts.exhausted, id);
            return nullptr;
        }
        slot->inUse = 1;
        slot->id = id;
        if (m_slotTexts.created) {
            LogInformation(method, line, m_slotTexts.created, id);
        }
        return slot;
    }

    // The delete operation: the record released, discarded and made fresh, then its row. Releasing
    // logs rows at most and never touches the table, so the record is still this one.
    void DeleteSlot(int id, const char* method, int line) {
        Slot* slot = Lookup(id, method, line);
        if (!slot) {
            return;
        }
        slot->ReleaseResource();
        slot->Discard();
        *slot = Slot();
        LogInformation(method, line, m_slotTexts.deleted, id);
    }

    // Information rows of the slot table are written without location.
    void LogInformation(const char* method, int line, const char* format, int value) const {
        g_debugSystem.LogInformation(Texts().sourceFile, line,
                                     VTR3QualifiedName(m_slotTexts.className, method).c_str(), 0, format,
                                     value);
    }

    void LogError(const char* method, int line, const char* format, int value) const {
        g_debugSystem.LogError(Texts().sourceFile, line,
                               VTR3QualifiedName(m_slotTexts.className, method).c_str(), format, value);
    }

    c_VTR3SlotTable<Slot> m_table;

  private:
    const VTR3SlotTexts& m_slotTexts;
    const int m_initialCount;
};

#endif
