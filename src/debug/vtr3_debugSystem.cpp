#include "debug/vtr3_debugSystem.h"

#include "frame/vtr3_globals.h"

#include <dxerr9.h>

#include <string.h>

// Texts below are Windows-1252 bytes; umlauts are written as escapes so that the bytes do not depend
// on the encoding of this file.

namespace {

const char* const kLogFileName = "Vantor3.html";

const char* const kSectionTitles[] = {
    "Allgemeine Informationen:", "F\xe4higkeiten der Hardware:", "Initialisierung:", "Ablauflogging:",
    "Deinitialisierung:",
};

const char* const kInformationCell =
    "<td width=\"10%%\" valign=\"top\" style=\"text-indent: 3pt\"><font "
    "face=\"Arial\" color=\"#009900\" size=\"2\"><b>Information:</b></font></td>";
const char* const kWarningCell = "<td width=\"10%%\" valign=\"top\" style=\"text-indent: 3pt\"><font "
                                 "face=\"Arial\" color=\"#FF9C00\" size=\"2\"><b>Warnung:</b></font></td>";
const char* const kErrorCell =
    "<td width=\"10%%\" valign=\"top\" style=\"text-indent: 3pt\"><font face=\"Arial\" "
    "size=\"2\" color=\"#FF0000\"><b>Fehler:</b></font></td>";
const char* const kLabelCell =
    "<td width=\"10%%\" valign=\"top\" style=\"text-indent: 3pt\"><font face=\"Arial\" "
    "size=\"2\" color=\"#000000\"><b>%s</b></font></td>";

const char* const kMessageCell =
    "<td width=\"90%%\" valign=\"top\"><font face=\"Arial\" color=\"#000000\" size=\"2\">%s</font></td>";
const char* const kMessageWithLocationCell =
    "<td width=\"90%%\" valign=\"top\"><font face=\"Arial\" color=\"#000000\" size=\"2\">%s<br><font "
    "size=\"1\">Datei: %s<br>Funktion: %s<br>Zeile: %d</font></font></td>";
const char* const kDirectXMessageCell =
    "<td width=\"90%%\" valign=\"top\"><font face=\"Arial\" color=\"#000000\" size=\"2\">%s<br><font "
    "size=\"1\">DirectX Beschreibung: %s<br>DirectX String: %s<br>Datei: %s<br>Funktion: %s<br>Zeile: "
    "%d</font></font></td>";
const char* const kLabelMessageCell =
    "<td width=\"90%%\" valign=\"top\"><font face=\"Arial\" color=\"#000000\" size=\"2\">%s<br></font></td>";

// vsnprintf cuts a message that does not fit; the buffer always ends in a terminator.
void FormatLogMessage(char (&buffer)[c_VTR3DebugSystem::MESSAGE_BUFFER_SIZE], const char* format,
                      va_list args) {
    if (!format) {
        buffer[0] = '\0';
        return;
    }
    vsnprintf(buffer, sizeof buffer, format, args);
}

// A row's text with every line break as CR LF, like the file's own line ends: a bare LF gains its CR,
// a CR LF and a lone CR stay as they are. Room for a message of nothing but LFs.
typedef char RowText[2 * c_VTR3DebugSystem::MESSAGE_BUFFER_SIZE];

void FormatRowText(RowText& text, const char* format, va_list args) {
    char message[c_VTR3DebugSystem::MESSAGE_BUFFER_SIZE];
    FormatLogMessage(message, format, args);
    size_t out = 0;
    for (size_t in = 0; message[in] != '\0'; ++in) {
        if (message[in] == '\n' && (in == 0 || message[in - 1] != '\r')) {
            text[out++] = '\r';
        }
        text[out++] = message[in];
    }
    text[out] = '\0';
}

const char* OrEmpty(const char* text) {
    return text ? text : "";
}

// Formats the variadic arguments that follow `format` in the calling function into `buffer` with
// `formatter` (FormatLogMessage for a message box, FormatRowText for a row).
#define VTR3_FORMAT_ARGUMENTS(formatter, buffer, format)                                                     \
    do {                                                                                                     \
        va_list args;                                                                                        \
        va_start(args, format);                                                                              \
        formatter(buffer, format, args);                                                                     \
        va_end(args);                                                                                        \
    } while (0)

} // namespace

c_VTR3DebugSystem::c_VTR3DebugSystem() : m_open(0), m_file(NULL), m_shading(0) {}

c_VTR3DebugSystem::~c_VTR3DebugSystem() {
    if (m_open) {
        Close();
    }
}

void c_VTR3DebugSystem::Open() {
    if (m_open) {
        return;
    }
    // Binary mode with explicit CR LF: the same bytes on every platform.
    m_file = fopen(kLogFileName, "wb");
    if (!m_file) {
        return;
    }
    m_open = 1;
    Line(0, "<html>");
    Line(1, "<head>");
    Line(2, "<title>Vantor 3.0 Debuginformationen</title>");
    Line(1, "</head>");
    Line(1, "<body>");
    Line(2, "<div align=\"center\">");
    Line(3, "<font color=\"#003366\" size=\"6\" face=\"Arial Black\">VANTOR 3.0 - Logfile</font><br>");
    Line(3, "<font color=\"#000000\" size=\"1\" face=\"Arial\">Shader-Rendering-Plugin f\xfcr die Acknex 6 "
            "Engine</font>");
    Line(2, "</div>");
    Line(2, "<div align=\"left\">");
}

void c_VTR3DebugSystem::Close() {
    if (!m_open) {
        return;
    }
    Line(2, "</div>");
    Line(1, "</body>");
    Line(0, "</html>");
    m_open = 0;
    // Closing the stream here puts the whole log on disk as soon as the plug-in shuts down, and a log
    // opened again later starts a fresh file without an earlier stream still holding text.
    fclose(m_file);
    m_file = NULL;
}

void c_VTR3DebugSystem::BeginSection(unsigned int index) {
    if (!m_open) {
        return;
    }
    Line(3, "<br><br>");
    if (index >= sizeof kSectionTitles / sizeof kSectionTitles[0]) {
        return;
    }
    Line(3, "<font face=\"Arial\" size=\"2\" color=\"#003366\"><b>%s</b></font><br>", kSectionTitles[index]);
    Line(3, "<table width=\"100%%\" border=\"0\" cellpadding=\"1\" cellspacing=\"0\" bgcolor=\"#000000\">");
    Line(4, "<tr>");
    Line(5, "<td>");
    Line(6, "<table width=\"100%%\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\" bgcolor=\"#E9E9E9\">");
}

void c_VTR3DebugSystem::EndSection() {
    if (!m_open) {
        return;
    }
    Line(6, "</table>");
    Line(5, "</td>");
    Line(4, "</tr>");
    Line(3, "</table>");
}

void c_VTR3DebugSystem::LogInformation(const char* file, int line, const char* function, int showLocation,
                                       const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteMessageRow(kInformationCell, file, line, function, showLocation, format, args);
    va_end(args);
}

void c_VTR3DebugSystem::LogWarning(const char* file, int line, const char* function, int showLocation,
                                   const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteMessageRow(kWarningCell, file, line, function, showLocation, format, args);
    va_end(args);
}

void c_VTR3DebugSystem::LogError(const char* file, int line, const char* function, const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteMessageRow(kErrorCell, file, line, function, 1, format, args);
    va_end(args);
}

void c_VTR3DebugSystem::LogDirectXError(const char* file, int line, const char* function, HRESULT result,
                                        const char* format, ...) {
    if (!m_open) {
        return;
    }
    RowText message;
    VTR3_FORMAT_ARGUMENTS(FormatRowText, message, format);

    BeginRow();
    Line(8, kErrorCell);
    Line(8, kDirectXMessageCell, message, DXGetErrorDescription9A(result), DXGetErrorString9A(result),
         OrEmpty(file), OrEmpty(function), line);
    EndRow();
}

void c_VTR3DebugSystem::LogLabel(const char* label, const char* format, ...) {
    if (!m_open) {
        return;
    }
    RowText message;
    VTR3_FORMAT_ARGUMENTS(FormatRowText, message, format);

    BeginRow();
    Line(8, kLabelCell, OrEmpty(label));
    Line(8, kLabelMessageCell, message);
    EndRow();
}

int c_VTR3DebugSystem::ShowMessage(const char* file, int line, const char* function, int showLocation,
                                   const char* caption, UINT style, const char* format, ...) {
    if (!m_open) {
        return 0;
    }
    char message[MESSAGE_BUFFER_SIZE];
    VTR3_FORMAT_ARGUMENTS(FormatLogMessage, message, format);

    char box[MESSAGEBOX_BUFFER_SIZE];
    if (showLocation == 1) {
        snprintf(box, sizeof box, "%s\n\nDatei:\t%s\nFunktion:\t%s\nZeile:\t%d", message, OrEmpty(file),
                 OrEmpty(function), line);
    } else {
        snprintf(box, sizeof box, "%s", message);
    }
    return MessageBoxA(g_window, box, caption, style);
}

int c_VTR3DebugSystem::ShowDirectXMessage(const char* file, int line, const char* function, HRESULT result,
                                          const char* caption, UINT style, const char* format, ...) {
    if (!m_open) {
        return 0;
    }
    char message[MESSAGE_BUFFER_SIZE];
    VTR3_FORMAT_ARGUMENTS(FormatLogMessage, message, format);

    char box[MESSAGEBOX_BUFFER_SIZE];
    snprintf(box, sizeof box, "%s\nDirectX:\t%s\nDatei:\t%s\nFunktion:\t%s\nZeile:\t%d", message,
             DXGetErrorDescription9A(result), OrEmpty(file), OrEmpty(function), line);
    return MessageBoxA(g_window, box, caption, style);
}

void c_VTR3DebugSystem::WriteComponentInfo() {
    VTR3WriteComponentRow(*this, "Debugsystem:", __TIMESTAMP__, __TIME__);
}

void c_VTR3DebugSystem::Line(int tabs, const char* format, ...) {
    for (int i = 0; i < tabs; ++i) {
        fputc('\t', m_file);
    }
    va_list args;
    va_start(args, format);
    vfprintf(m_file, format, args);
    va_end(args);
    fputs("\r\n", m_file);
}

void c_VTR3DebugSystem::BeginRow() {
    Line(7, m_shading == 0 ? "<tr bgcolor=\"#E9E9E9\">" : "<tr bgcolor=\"#D7D7D7\">");
    m_shading = m_shading == 0 ? 1 : 0;
}

void c_VTR3DebugSystem::EndRow() {
    Line(7, "</tr>");
}

void c_VTR3DebugSystem::WriteMessageRow(const char* kindCell, const char* file, int line,
                                        const char* function, int showLocation, const char* format,
                                        va_list args) {
    if (!m_open) {
        return;
    }
    RowText message;
    FormatRowText(message, format, args);

    BeginRow();
    Line(8, kindCell);
    if (showLocation) {
        Line(8, kMessageWithLocationCell, message, OrEmpty(file), OrEmpty(function), line);
    } else {
        Line(8, kMessageCell, message);
    }
    EndRow();
}

void VTR3WriteComponentRow(c_VTR3DebugSystem& log, const char* label, const char* lastChange,
                           const char* compileTime) {
    log.LogLabel(label, "Letzte \xc4nderung: %s -- Letzte Kompillierung: %s", lastChange, compileTime);
}
