// The life cycle that every manager of the plug-in shares: the initialised flag, the check that each
// method makes first, and the rows written when a manager starts, stops or is destroyed unfinished.
#ifndef VTR3_MANAGERLIFECYCLE_H
#define VTR3_MANAGERLIFECYCLE_H

struct VTR3ManagerTexts {
    const char* sourceFile;       // as the log shows it, e.g. "vtr3_views"
    const char* destructorName;   // e.g. "c_VTR3ViewManager::~c_VTR3ViewManager"
    const char* notInitialized;   // error row of every method called while not initialised
    const char* initialized;      // information row of Initialize
    const char* deinitialized;    // information row of DeInitialize
    const char* destroyedWarning; // warning row of a destructor that finds the manager initialised
    int destroyedWarningHasLocation;
};

// "c_VTR3ViewManager::GetSlotByID": a method's name as a log row shows it, built only when a row
// needs it.
class VTR3QualifiedName {
  public:
    VTR3QualifiedName(const char* className, const char* method);
    const char* c_str() const { return m_text; }

  private:
    char m_text[128];
};

class c_VTR3ManagerLifecycle {
  public:
    int IsInitialized() const { return m_initialized; }

  protected:
    explicit c_VTR3ManagerLifecycle(const VTR3ManagerTexts& texts) : m_initialized(0), m_texts(texts) {}
    ~c_VTR3ManagerLifecycle() = default;

    // True when initialised; otherwise writes the not-initialised error row for the calling method.
    bool CheckInitialized(const char* function, int line) const;
    void MarkInitialized();
    void MarkDeInitialized();
    // For the destructor: true (after the warning row) when DeInitialize still has to run.
    bool WarnIfStillInitialized(int line) const;

    const VTR3ManagerTexts& Texts() const { return m_texts; }

    int m_initialized;

  private:
    const VTR3ManagerTexts& m_texts;
};

#endif
