// vantor-fxcheck: compiles effect files as the plug-in does and reports, like a command-line shader
// compiler, the messages and which techniques validate on the device and on a shader-model-2 one.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "effect_check.h"
#include "graphics.h"
#include "host_error.h"
#include "system.h"

namespace {

constexpr const char* kProgram = "vantor-fxcheck";
constexpr const char* kUsage =
    "usage: vantor-fxcheck [--no-sm2] FILE.fx...\n"
    "Compiles each effect file through D3DX on the stand-in engine's device and prints\n"
    "  FILE:LINE:COLUMN: error: MESSAGE [CODE]   for each compiler message, then\n"
    "  technique NAME: N passes, device: valid|invalid, shader model 2: valid|invalid\n"
    "for each technique (ValidateTechnique on the full device and on one limited to shader model 2).\n"
    "\n"
    "  --no-sm2     skip the shader-model-2 device\n"
    "  -h, --help   this text\n"
    "\n"
    "Exit status: 0 when every file compiles and has a technique valid on the device, 1 otherwise,\n"
    "2 for a bad command line.\n";

constexpr const char* kShortUsage =
    "usage: vantor-fxcheck [--no-sm2] FILE.fx... (vantor-fxcheck --help for more)\n";

const char* Validity(bool valid) {
    return valid ? "valid" : "invalid";
}

// The file's report; true when it compiled and a technique validates on the full device.
bool Report(const std::string& path, IDirect3DDevice9* device, IDirect3DDevice9* shaderModel2) {
    const host::EffectCheck full = host::CheckEffect(device, path);
    for (const std::string& message : full.messages) {
        std::printf("%s\n", message.c_str());
    }
    if (!full.compiled) {
        if (full.messages.empty()) {
            std::printf("%s: error: %s\n", path.c_str(), full.failure.c_str());
        }
        return false;
    }
    const host::EffectCheck limited =
        shaderModel2 ? host::CheckEffect(shaderModel2, path) : host::EffectCheck();
    std::printf("%s: %zu %s\n", path.c_str(), full.techniques.size(),
                full.techniques.size() == 1 ? "technique" : "techniques");
    bool anyValid = false;
    for (std::size_t i = 0; i < full.techniques.size(); ++i) {
        const host::TechniqueCheck& technique = full.techniques[i];
        anyValid = anyValid || technique.valid;
        std::printf("  technique %s: %u %s, device: %s", technique.name.c_str(), technique.passes,
                    technique.passes == 1 ? "pass" : "passes", Validity(technique.valid));
        if (shaderModel2) {
            const bool valid = i < limited.techniques.size() && limited.techniques[i].valid;
            std::printf(", shader model 2: %s", Validity(valid));
        }
        std::printf("\n");
    }
    if (!anyValid) {
        std::printf("%s: error: no technique validates on the device\n", path.c_str());
    }
    return anyValid;
}

} // namespace

int main(int argc, char** argv) {
    bool shaderModel2 = true;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            std::printf("%s", kUsage);
            return 0;
        }
        if (std::strcmp(argv[i], "--no-sm2") == 0) {
            shaderModel2 = false;
        } else if (argv[i][0] == '-') {
            std::fprintf(stderr, "%s: unknown option %s\n%s", kProgram, argv[i], kShortUsage);
            return 2;
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "%s: no effect file given\n%s", kProgram, kShortUsage);
        return 2;
    }
    try {
        host::Graphics full(64, 64, kProgram);
        std::unique_ptr<host::Graphics> limited;
        if (shaderModel2 && host::system::LimitToShaderModel2(true)) {
            limited = std::make_unique<host::Graphics>(64, 64, kProgram);
            host::system::LimitToShaderModel2(false);
        }
        bool allGood = true;
        for (const std::string& file : files) {
            allGood = Report(file, full.device(), limited ? limited->device() : nullptr) && allGood;
        }
        return allGood ? 0 : 1;
    } catch (const host::Error& error) {
        host::system::LimitToShaderModel2(false);
        std::fprintf(stderr, "%s: %s\n", kProgram, error.what());
        return 1;
    }
}
