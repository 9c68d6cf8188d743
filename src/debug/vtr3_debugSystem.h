// The plug-in's HTML log, Vantor3.html: one coloured table row for every step and failure.
#ifndef VTR3_DEBUGSYSTEM_H
#define VTR3_DEBUGSYSTEM_H

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>

// The log's sections, in the order a normal run opens them: 0, 2, 1, 3, 4.
enum VTR3LogSection {
    VTR3_SECTION_GENERAL = 0,
    VTR3_SECTION_HARDWARE = 1,
    VTR3_SECTION_INITIALIZATION = 2,
    VTR3_SECTION_RUNNING = 3,
    VTR3_SECTION_DEINITIALIZATION = 4,
};

class c_VTR3DebugSystem {
  public:
    // Formatted messages are cut to fit this buffer, terminator included.
    static const int MESSAGE_BUFFER_SIZE = 2048;
    static const int MESSAGEBOX_BUFFER_SIZE = 4096;

    c_VTR3DebugSystem();
    ~c_VTR3DebugSystem();
    c_VTR3DebugSystem(const c_VTR3DebugSystem&) = delete;
    c_VTR3DebugSystem& operator=(const c_VTR3DebugSystem&) = delete;

    void Open();
    void Close();
    int IsOpen() const { return m_open; }

    void BeginSection(unsigned int index);
    void EndSection();

    void LogInformation(const char* file, int line, const char* function, int showLocation, const char* format,
                        ...);
    void LogWarning(const char* file, int line, const char* function, int showLocation, const char* format, ...);
    void LogError(const char* file, int line, const char* function, const char* format, ...);
    void LogDirectXError(const char* file, int line, const char* function, HRESULT result, const char* format,
                         ...);
    void LogLabel(const char* label, const char* format, ...);

    int ShowMessage(const char* file, int line, const char* function, int showLocation, const char* caption,
                    UINT style, const char* format, ...);
    int ShowDirectXMessage(const char* file, int line, const char* function, HRESULT result, const char* caption,
                           UINT style, const char* format, ...);

    // The "Debugsystem:" row of the components table.
    void WriteComponentInfo();

  private:
    void Line(int tabs, const char* format, ...);
    void BeginRow();
    void EndRow();
    void WriteMessageRow(const char* kindCell, const char* file, int line, const char* function, int showLocation,
                         const char* format, va_list args);

    int m_open;
    FILE* m_file;
    // Picks the background of the next row; flips with every row written and is never reset.
    int m_shading;
};

// Writes a component's label row: the text carries the stamps of the component's own source file.
void VTR3WriteComponentRow(c_VTR3DebugSystem& log, const char* label, const char* lastChange,
                           const char* compileTime);

#endif
