// The frame's exported functions: start-up, shut-down, device release and re-creation, memory
// compaction. Each walks the library-wide objects in its own fixed order.
#include "frame/vtr3_exports.h"

#include "debug/vtr3_debugSystem.h"
#include "frame/vtr3_engine.h"
#include "frame/vtr3_globals.h"
#include "objects/vtr3_objects.h"
#include "render/vtr3_postProcessor.h"
#include "render/vtr3_renderer.h"
#include "resources/vtr3_effects.h"
#include "resources/vtr3_textures.h"
#include "views/vtr3_views.h"

namespace {

const char* const kSourceFile = "vtr3_exports";
const char* const kInitialize = "VTR3Initialize";

// Result codes of VTR3Initialize.
enum InitializeResult {
    INIT_OK = 0,
    INIT_NO_WINDOW = 1,
    INIT_NO_DIRECT3D = 2,
    INIT_NO_DEVICE = 3,
    INIT_NO_CAPS = 4,
    INIT_OLD_ENGINE = 6,
};

// The oldest engine version the plug-in runs with; the var 6462 (6.3105...) is the first that passes.
const double kMinimumEngineVersion = 6.31;

const char* const kEditionNames[] = {"Standard", "Extra", "Commercial", "Professional"};

void LogInformation(int line, const char* message) {
    g_debugSystem.LogInformation(kSourceFile, line, kInitialize, 0, "%s", message);
}

void LogError(int line, const char* message) {
    g_debugSystem.LogError(kSourceFile, line, kInitialize, "%s", message);
}

void WriteGeneralInformation() {
    g_debugSystem.LogLabel("<font color=\"007EFF\">Plugininformationen:</font>", "");
    g_debugSystem.LogLabel("Dateiname:", "Vantor3.dll");
    g_debugSystem.LogLabel("Version:", "3.0 Beta");
    g_debugSystem.LogLabel("Buildtyp:", "Release");
    g_debugSystem.LogLabel("Builnummer:", "1058");
    g_debugSystem.LogLabel(" ", " ");

    g_debugSystem.LogLabel("<font color=\"007EFF\">Komponenten:</font>", "");
    g_debugSystem.WriteComponentInfo();
    g_viewManager.WriteComponentInfo();
    g_textureManager.WriteComponentInfo();
    g_effectManager.WriteComponentInfo();
    g_objectManager.WriteComponentInfo();
    g_postProcessor.WriteComponentInfo();
    g_renderer.WriteComponentInfo();
    g_debugSystem.LogLabel(" ", " ");

    g_debugSystem.LogLabel("<font color=\"007EFF\">Acknex 6 Engine:</font>", "");
    // The edition is a var like every engine number: the editions 1 to 4 arrive as 1024 to 4096.
    const int edition = a6::VarToInt(VTR3EngineEdition());
    if (edition >= 1 && edition <= 4) {
        g_debugSystem.LogLabel("Edition:", "%s", kEditionNames[edition - 1]);
    }
    g_debugSystem.LogLabel("Version:", "V%f", a6::VarToDouble(VTR3EngineVersion()));
    g_debugSystem.LogLabel(" ", " ");
}

// Steps 4 to 7 of the start-up: the engine's window, Direct3D object, device and its capabilities.
InitializeResult TakeDevice() {
    g_window = VTR3EngineWindow();
    if (!g_window) {
        LogError(__LINE__, "Das Acknex6 Fensterhandle konnte nicht verf\xfcgbar gemacht werden");
        return INIT_NO_WINDOW;
    }
    LogInformation(__LINE__,
                   "Das Handle des Anwendungsfensters der Acknex 6 Engine wurde verf\xfcgbar gemacht.");

    g_direct3D = VTR3EngineDirect3D();
    if (!g_direct3D) {
        LogError(__LINE__,
                 "Das Acknex6 DirectX Graphics9 Hauptobjekt konnte nicht verf\xfcgbar gemacht werden");
        return INIT_NO_DIRECT3D;
    }
    LogInformation(__LINE__, "Das DirectX Graphics 9 Hauptobjekt wurde verf\xfcgbar gemacht");

    g_device = VTR3EngineDevice();
    if (!g_device) {
        LogError(__LINE__, "Das Acknex6 DirectX Graphics 9 Device konnte nicht verf\xfcgbar gemacht werden");
        return INIT_NO_DEVICE;
    }
    LogInformation(__LINE__, "Das DirectX Graphics 9 Deviceobjekt wurde verf\xfcgbar gemacht");

    const HRESULT result = g_device->GetDeviceCaps(&g_deviceCaps);
    if (FAILED(result)) {
        g_debugSystem.LogDirectXError(kSourceFile, __LINE__, kInitialize, result, "%s",
                                      "Fehler beim auslesen der DirectX Graphics 9 Devicecaps");
        return INIT_NO_CAPS;
    }
    LogInformation(__LINE__, "Das DirectX Graphics 9 Devicecaps wurde verf\xfcgbar gemacht");
    return INIT_OK;
}

InitializeResult Initialize(var logSwitch, a6::String* windowTitle) {
    if (a6::VarToInt(logSwitch) == 1) {
        g_debugSystem.Open();
    }

    g_debugSystem.BeginSection(VTR3_SECTION_GENERAL);
    WriteGeneralInformation();
    g_debugSystem.EndSection();

    g_debugSystem.BeginSection(VTR3_SECTION_INITIALIZATION);
    const InitializeResult deviceResult = TakeDevice();
    if (deviceResult != INIT_OK) {
        return deviceResult;
    }
    g_viewManager.Initialize();
    g_textureManager.Initialize();
    g_effectManager.Initialize();
    g_objectManager.Initialize();
    g_postProcessor.Initialize();
    g_renderer.Initialize();
    g_debugSystem.EndSection();

    g_debugSystem.BeginSection(VTR3_SECTION_HARDWARE);
    if (!(a6::VarToDouble(VTR3EngineVersion()) >= kMinimumEngineVersion)) {
        LogError(__LINE__, "Es wurde keine g\xfcltige Acknex 6 Version gefunden");
        return INIT_OLD_ENGINE;
    }
    LogInformation(__LINE__, "Es wurde eine g\xfcltige Acknex 6 Version gefunden");
    g_debugSystem.EndSection();

    g_debugSystem.BeginSection(VTR3_SECTION_RUNNING);
    const char* title = a6::StringText(windowTitle);
    SetWindowTextA(g_window, title ? title : "");
    LogInformation(__LINE__, "Der Anwendungstitel ( Acknex 6 Fenstertitel ) wurde ge\xe4ndert");
    return INIT_OK;
}

} // namespace

VTR3_API var VTR3Initialize(var logSwitch, a6::String* windowTitle) {
    return a6::VarFromInt(Initialize(logSwitch, windowTitle));
}

VTR3_API var VTR3DeInitialize() {
    g_debugSystem.EndSection();
    g_debugSystem.BeginSection(VTR3_SECTION_DEINITIALIZATION);
    g_postProcessor.DeInitialize();
    g_objectManager.DeInitialize();
    g_effectManager.DeInitialize();
    g_viewManager.DeInitialize();
    g_textureManager.DeInitialize();
    g_renderer.DeInitialize();
    g_debugSystem.EndSection();
    g_debugSystem.Close();
    return 0;
}

VTR3_API var VTR3ReleaseResources() {
    g_viewManager.ReleaseResources();
    g_textureManager.ReleaseResources();
    g_effectManager.ReleaseResources();
    g_objectManager.ReleaseResources();
    g_postProcessor.ReleaseResources();
    g_renderer.ReleaseResources();
    g_debugSystem.LogInformation(kSourceFile, __LINE__, "VTR3ReleaseResources", 0, "%s",
                                 "Alle API-Resourcen wurden freigegeben");
    return 0;
}

VTR3_API var VTR3RecreateResources() {
    g_postProcessor.RecreateResources();
    g_objectManager.RecreateResources();
    g_effectManager.RecreateResources();
    g_textureManager.RecreateResources();
    g_viewManager.RecreateResources();
    g_debugSystem.LogInformation(kSourceFile, __LINE__, "VTR3RecreateResources", 0, "%s",
                                 "Alle API-Resourcen wurden neu erstellt");
    return 0;
}

VTR3_API var VTR3ReleaseMemory() {
    g_viewManager.ReduceMemoryOverhead();
    g_textureManager.ReduceMemoryOverhead();
    g_objectManager.ReduceMemoryOverhead();
    g_effectManager.ReduceMemoryOverhead();
    g_debugSystem.LogInformation(kSourceFile, __LINE__, "VTR3ReleaseMemory", 0, "%s",
                                 "Der nicht verwendete Arbeitsspeicher wurde freigegeben");
    return 0;
}

VTR3_API var VTR3SwitchResolution() {
    return 0;
}
