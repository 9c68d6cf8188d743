// Replays damaged shader bytecode through the reader's and translator's fuzzing entry point: seeds
// of both stages and several versions, then tokens overwritten, bits flipped, lengths inflated and
// tails cut, until the time budget (VTR3_FUZZ_SECONDS, default 10) is spent. Passing means: no
// crash, no hang, no sanitizer report.
#include "fuzz_replay.h"
#include "shader_tokens.h"

#include <cstdint>
#include <cstdio>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using namespace shader_tokens;

std::vector<std::vector<DWORD>> Seeds() {
    const DWORD loop = Src(D3DSPR_LOOP, 0, kX);
    Code vs3(D3DVS_VERSION(3, 0));
    vs3.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), Dst(D3DSPR_INPUT, 0)})
        .Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), Dst(D3DSPR_OUTPUT, 0)})
        .Op(D3DSIO_DCL,
            {Usage(D3DDECLUSAGE_TEXCOORD, 1), Dst(D3DSPR_OUTPUT, 1, D3DSP_WRITEMASK_0 | D3DSP_WRITEMASK_1)})
        .Op(D3DSIO_DEFI, {Dst(D3DSPR_CONSTINT, 0), 4, 0, 1, 0})
        .Op(D3DSIO_LOOP, {loop, Src(D3DSPR_CONSTINT, 0)})
        .Op(D3DSIO_ADD, {R(0), Rs(0), C(0) | D3DSHADER_ADDRMODE_RELATIVE, loop})
        .Op(D3DSIO_ENDLOOP, {})
        .Op(D3DSIO_M4x4, {Dst(D3DSPR_OUTPUT, 0), Src(D3DSPR_INPUT, 0), C(4)})
        .Op(D3DSIO_CALL, {Src(D3DSPR_LABEL, 0)})
        .Op(D3DSIO_RET, {})
        .Op(D3DSIO_LABEL, {Src(D3DSPR_LABEL, 0)})
        .Op(D3DSIO_SINCOS, {R(1, D3DSP_WRITEMASK_0), Rs(0, kX)})
        .Op(D3DSIO_RET, {});
    Code ps2(D3DPS_VERSION(2, 0));
    ps2.Op(D3DSIO_DCL, {0x80000000u, Dst(D3DSPR_TEXTURE, 0)})
        .Op(D3DSIO_DCL, {0x80000000u | D3DSTT_CUBE, Dst(D3DSPR_SAMPLER, 1)})
        .Def(3, 1, 0.5f, -2, 0)
        .Op(D3DSIO_TEX | D3DSI_TEXLD_PROJECT, {R(0), Src(D3DSPR_TEXTURE, 0), Src(D3DSPR_SAMPLER, 1)})
        .Op(D3DSIO_CMP, {R(0), Rs(0), C(3), C(1, kXYZW, D3DSPSM_NEG)})
        .Op(D3DSIO_TEXKILL, {R(0)})
        .Op(D3DSIO_MOV, {Dst(D3DSPR_COLOROUT, 0, D3DSP_WRITEMASK_ALL, D3DSPDM_SATURATE), Rs(0)});
    Code vs1(D3DVS_VERSION(1, 1));
    vs1.Op(D3DSIO_DCL, {Usage(D3DDECLUSAGE_POSITION), Dst(D3DSPR_INPUT, 0)})
        .Op(D3DSIO_MOV, {Dst(D3DSPR_ADDR, 0, D3DSP_WRITEMASK_0), C(0, kX)})
        .Op(D3DSIO_MOV, {Dst(D3DSPR_RASTOUT, 0), C(1) | D3DSHADER_ADDRMODE_RELATIVE});
    return {vs3.End(), ps2.End(), vs1.End()};
}

std::vector<DWORD> Damage(std::vector<DWORD> t, std::mt19937* random) {
    if (t.empty())
        return t;
    DWORD& token = t[(*random)() % t.size()];
    const DWORD kind = (*random)() % 4;
    // Any token replaced or a bit flipped, a length or comment size inflated past the end, or a cut.
    token = kind == 0 ? (*random)() : kind == 1 ? token ^ 1u << (*random)() % 32 : token | 0x7F000000u;
    if (kind == 3)
        t.resize((*random)() % t.size());
    return t;
}

} // namespace

int main() {
    const auto deadline = FuzzDeadline(10);
    const std::vector<std::vector<DWORD>> seeds = Seeds();
    std::mt19937 random(20261207);
    const auto run = [](const std::vector<DWORD>& t) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(t.data()), t.size() * sizeof(DWORD));
    };
    std::size_t runs = ReplayRounds(200000, deadline, [&](int round) {
        std::vector<DWORD> t = seeds[static_cast<std::size_t>(round) % seeds.size()];
        for (int k = 0; k <= round % 3; ++k)
            t = Damage(t, &random);
        run(t);
    });
    for (const auto& seed : seeds)
        run(seed);
    std::printf("shader bytecode fuzz replay: %zu damaged inputs\n", runs);
    return 0;
}
