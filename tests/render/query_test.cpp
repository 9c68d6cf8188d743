// Direct3D 9 queries: the types offered, their sizes and issue flags, and their results: samples
// counted exactly, timestamps in order at 1e9 a second, events that complete.
#include "render_fixture.h"

namespace render_test {
namespace {

class QueryTest : public RenderTest {
  protected:
    void SetUp() override { CreateDevice(64, 64); }

    IDirect3DQuery9* Make(D3DQUERYTYPE type) {
        IDirect3DQuery9* query = nullptr;
        EXPECT_EQ(device_->CreateQuery(type, &query), D3D_OK);
        return query;
    }
    // The result, asked for until it is ready.
    template <typename T> static T Result(IDirect3DQuery9* query) {
        T value{};
        HRESULT result = S_FALSE;
        for (int tries = 0; tries < 1000000 && result == S_FALSE; ++tries)
            result = query->GetData(&value, sizeof value, D3DGETDATA_FLUSH);
        EXPECT_EQ(result, D3D_OK);
        return value;
    }
};

TEST_F(QueryTest, TypesAreOfferedWithTheirSizesAndIssueFlags) {
    struct Row {
        D3DQUERYTYPE type;
        DWORD size; // 0: not offered
    };
    const Row rows[] = {{D3DQUERYTYPE_VCACHE, 0},
                        {D3DQUERYTYPE_RESOURCEMANAGER, 0},
                        {D3DQUERYTYPE_VERTEXSTATS, 0},
                        {D3DQUERYTYPE_EVENT, 4},
                        {D3DQUERYTYPE_OCCLUSION, 4},
                        {D3DQUERYTYPE_TIMESTAMP, 8},
                        {D3DQUERYTYPE_TIMESTAMPDISJOINT, 4},
                        {D3DQUERYTYPE_TIMESTAMPFREQ, 8},
                        {D3DQUERYTYPE_PIPELINETIMINGS, 0},
                        {D3DQUERYTYPE_BANDWIDTHTIMINGS, 0},
                        {D3DQUERYTYPE_CACHEUTILIZATION, 0},
                        {D3DQUERYTYPE_MEMORYPRESSURE, 0}};
    for (const Row& row : rows) {
        const HRESULT offered = row.size ? D3D_OK : D3DERR_NOTAVAILABLE;
        EXPECT_EQ(device_->CreateQuery(row.type, nullptr), offered) << row.type;
        IDirect3DQuery9* query = nullptr;
        EXPECT_EQ(device_->CreateQuery(row.type, &query), offered) << row.type;
        if (!query)
            continue;
        EXPECT_EQ(query->GetType(), row.type);
        EXPECT_EQ(query->GetDataSize(), row.size);
        EXPECT_EQ(query->Issue(0), D3DERR_INVALIDCALL) << row.type;
        // Every type takes a begin, as Wine's Direct3D 9 does; until the end there is no result.
        EXPECT_EQ(query->Issue(D3DISSUE_BEGIN), D3D_OK) << row.type;
        EXPECT_EQ(query->GetData(nullptr, 0, 0), S_FALSE) << row.type;
        EXPECT_EQ(query->Issue(D3DISSUE_END), D3D_OK) << row.type;
        std::uint64_t data = 0;
        EXPECT_EQ(query->GetData(&data, row.size - 1, 0), D3DERR_INVALIDCALL) << row.type;
        EXPECT_EQ(query->GetData(nullptr, 4, 0), D3DERR_INVALIDCALL) << row.type;
        EXPECT_EQ(query->GetData(&data, row.size, 2), D3DERR_INVALIDCALL) << row.type;
        Result<std::uint64_t>(query);
        EXPECT_EQ(query->Release(), 0u);
    }
}

TEST_F(QueryTest, OcclusionCountsTheSamplesThatPassTimestampsRunInOrderEventsComplete) {
    IDirect3DQuery9* front = Make(D3DQUERYTYPE_OCCLUSION);
    IDirect3DQuery9* behind = Make(D3DQUERYTYPE_OCCLUSION);
    IDirect3DQuery9* never = Make(D3DQUERYTYPE_OCCLUSION);
    IDirect3DQuery9* before = Make(D3DQUERYTYPE_TIMESTAMP);
    IDirect3DQuery9* after = Make(D3DQUERYTYPE_TIMESTAMP);
    IDirect3DQuery9* event = Make(D3DQUERYTYPE_EVENT);
    EXPECT_EQ(never->GetData(nullptr, 0, 0), D3D_OK); // never issued: nothing to count
    const Frame frame = DrawFrame([&] {
        before->Issue(D3DISSUE_END);
        front->Issue(D3DISSUE_BEGIN);
        DrawScreenRect(8, 4, 28, 14, 0.5f, 0xFFFFFFFF); // 20 x 10 pixels
        front->Issue(D3DISSUE_END);
        // 16 x 16 pixels behind the first rectangle, which hides 8 x 10 of them.
        behind->Issue(D3DISSUE_BEGIN);
        DrawScreenRect(0, 0, 16, 16, 0.9f, 0xFF0000FF);
        behind->Issue(D3DISSUE_END);
        after->Issue(D3DISSUE_END);
        event->Issue(D3DISSUE_END);
    });
    EXPECT_EQ(Result<DWORD>(front), 200u);
    EXPECT_EQ(Result<DWORD>(behind), 256u - 80u);
    DWORD white = 0, blue = 0; // B, G, R, A
    for (unsigned y = 0; y < frame.height; ++y)
        for (unsigned x = 0; x < frame.width; ++x) {
            white += At(frame, x, y) == ToBgra(0xFFFFFFFF);
            blue += At(frame, x, y) == ToBgra(0xFF0000FF);
        }
    EXPECT_EQ(white, 200u);
    EXPECT_EQ(blue, 256u - 80u);
    EXPECT_EQ(Result<DWORD>(never), 0u);
    const std::uint64_t start = Result<std::uint64_t>(before);
    EXPECT_GT(start, 0u);
    EXPECT_GE(Result<std::uint64_t>(after), start);
    EXPECT_EQ(Result<BOOL>(event), TRUE);
    IDirect3DQuery9* frequency = Make(D3DQUERYTYPE_TIMESTAMPFREQ);
    IDirect3DQuery9* disjoint = Make(D3DQUERYTYPE_TIMESTAMPDISJOINT);
    frequency->Issue(D3DISSUE_END);
    disjoint->Issue(D3DISSUE_BEGIN);
    disjoint->Issue(D3DISSUE_END);
    EXPECT_EQ(Result<std::uint64_t>(frequency), 1000000000u);
    EXPECT_EQ(Result<BOOL>(disjoint), FALSE);

    // A query released while it counts leaves the count to the next; a Reset keeps the queries.
    IDirect3DQuery9* dropped = Make(D3DQUERYTYPE_OCCLUSION);
    EXPECT_EQ(dropped->Issue(D3DISSUE_BEGIN), D3D_OK);
    EXPECT_EQ(dropped->Release(), 0u);
    D3DPRESENT_PARAMETERS parameters = Parameters();
    ASSERT_EQ(device_->Reset(&parameters), D3D_OK);
    DrawFrame([&] {
        front->Issue(D3DISSUE_BEGIN);
        DrawScreenRect(0, 0, 4, 4, 0.5f, 0xFFFFFFFF);
        front->Issue(D3DISSUE_END);
    });
    EXPECT_EQ(Result<DWORD>(front), 16u);
    for (IDirect3DQuery9* query : {front, behind, never, before, after, event, frequency, disjoint})
        EXPECT_EQ(query->Release(), 0u);
}

} // namespace
} // namespace render_test
