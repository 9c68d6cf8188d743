#include "profiler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace host {
namespace {

constexpr int kSlots = 3; // a frame's timestamps are read when its slot comes round again

template <typename T> bool Result(IDirect3DQuery9* query, T* value) {
    HRESULT result;
    while ((result = query->GetData(value, sizeof *value, D3DGETDATA_FLUSH)) == S_FALSE) {
    }
    return result == S_OK;
}

void Let(IDirect3DQuery9* query) {
    if (query) {
        query->Release();
    }
}

// Measures the time a profiler call takes, for the profile's own cost.
class OwnTime {
  public:
    explicit OwnTime(double* total) : total_(total), start_(std::chrono::steady_clock::now()) {}
    ~OwnTime() {
        *total_ +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    }
    OwnTime(const OwnTime&) = delete;
    OwnTime& operator=(const OwnTime&) = delete;

  private:
    double* total_;
    std::chrono::steady_clock::time_point start_;
};

} // namespace

Profiler::Profiler(IDirect3DDevice9* device, int frames)
    : device_(device), frames_(frames),
      timed_(SUCCEEDED(device->CreateQuery(D3DQUERYTYPE_TIMESTAMP, nullptr)) &&
             SUCCEEDED(device->CreateQuery(D3DQUERYTYPE_TIMESTAMPDISJOINT, nullptr)) &&
             SUCCEEDED(device->CreateQuery(D3DQUERYTYPE_TIMESTAMPFREQ, nullptr))),
      slots_(kSlots) {
    for (Slot& slot : slots_) {
        slot.disjoint = Query(D3DQUERYTYPE_TIMESTAMPDISJOINT);
        slot.frequency = Query(D3DQUERYTYPE_TIMESTAMPFREQ);
    }
    Item("", -1, 0);
}

Profiler::~Profiler() {
    for (Slot& slot : slots_) {
        for (const struct Mark& mark : slot.marks) {
            Let(mark.query);
        }
        Let(slot.disjoint);
        Let(slot.frequency);
    }
}

IDirect3DQuery9* Profiler::Query(D3DQUERYTYPE type) {
    IDirect3DQuery9* query = nullptr;
    if (timed_ && FAILED(device_->CreateQuery(type, &query))) {
        query = nullptr;
    }
    return query;
}

int Profiler::Item(const std::string& view, int kind, int number) {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const ProfileItem& item = items_[i];
        if (item.kind == kind && item.number == number && item.view == view) {
            return static_cast<int>(i);
        }
    }
    items_.push_back(ProfileItem{view, kind, number, std::vector<float>(frames_, -1.0f),
                                 std::vector<float>(frames_, -1.0f)});
    return static_cast<int>(items_.size() - 1);
}

void Profiler::Stamp(int item, bool begin) {
    if (slot_->used == slot_->marks.size()) {
        slot_->marks.push_back({-1, false, {}, Query(D3DQUERYTYPE_TIMESTAMP)});
    }
    struct Mark& mark = slot_->marks[slot_->used++];
    mark.item = item;
    mark.begin = begin;
    if (mark.query) {
        mark.query->Issue(D3DISSUE_END);
    }
    mark.cpu = Clock::now();
}

void Profiler::FrameBegin(int frame) {
    OwnTime own(&own_);
    Slot& slot = slots_[frame % kSlots];
    Collect(slot);
    slot_ = frame <= frames_ ? &slot : nullptr;
    if (!slot_) {
        return;
    }
    slot.frame = frame;
    slot.used = 0;
    if (slot.disjoint) {
        slot.disjoint->Issue(D3DISSUE_BEGIN);
    }
    Stamp(0, true);
}

void Profiler::FrameEnd(int) {
    OwnTime own(&own_);
    if (!slot_) {
        return;
    }
    Stamp(0, false);
    if (slot_->disjoint) {
        slot_->disjoint->Issue(D3DISSUE_END);
        slot_->frequency->Issue(D3DISSUE_END);
    }
    slot_ = nullptr;
}

void Profiler::SectionBegin(Section section, int object) {
    OwnTime own(&own_);
    if (!slot_ || !view_) {
        return;
    }
    const int item = Item(*view_, static_cast<int>(section), object);
    open_[static_cast<int>(section)] = item;
    Stamp(item, true);
    if (section == Section::kDrawD) {
        chain_ = true;
        step_ = 0;
        stepMark_ = -1;
        stepDrawn_ = false;
    }
}

void Profiler::SectionEnd(Section section) {
    OwnTime own(&own_);
    if (!slot_ || open_[static_cast<int>(section)] < 0) {
        return;
    }
    if (section == Section::kDrawD) {
        EndStep();
        chain_ = false;
    }
    Stamp(open_[static_cast<int>(section)], false);
    open_[static_cast<int>(section)] = -1;
}

// A target set in VTR3RenderDrawD begins a step if something is drawn into it before the next.
void Profiler::RenderTargetSetting(DWORD index, IDirect3DSurface9*) {
    OwnTime own(&own_);
    if (!slot_ || !chain_ || index != 0) {
        return;
    }
    EndStep();
    stepMark_ = static_cast<int>(slot_->used);
    Stamp(-1, true);
}

void Profiler::Drawing() {
    if (!slot_ || !chain_ || stepMark_ < 0 || stepDrawn_) {
        return;
    }
    OwnTime own(&own_);
    stepDrawn_ = true;
    slot_->marks[stepMark_].item = Item(*view_, kStep, ++step_);
}

void Profiler::EndStep() {
    if (stepDrawn_) {
        Stamp(slot_->marks[stepMark_].item, false);
    }
    stepMark_ = -1;
    stepDrawn_ = false;
}

// Each item's time in the frame is the sum of its spans from begin to end.
void Profiler::Collect(Slot& slot) {
    if (slot.frame == 0) {
        return;
    }
    const std::size_t frame = static_cast<std::size_t>(slot.frame - 1);
    slot.frame = 0;
    BOOL disjoint = TRUE;
    std::uint64_t frequency = 0;
    const bool gpu = slot.disjoint && Result(slot.disjoint, &disjoint) && !disjoint &&
                     Result(slot.frequency, &frequency) && frequency > 0;
    for (std::size_t i = 0; i < slot.used; ++i) {
        const struct Mark& begin = slot.marks[i];
        if (!begin.begin || begin.item < 0) {
            continue;
        }
        const auto end = std::find_if(slot.marks.begin() + i + 1, slot.marks.begin() + slot.used,
                                      [&](const struct Mark& m) { return !m.begin && m.item == begin.item; });
        if (end == slot.marks.begin() + slot.used) {
            continue;
        }
        ProfileItem& item = items_[begin.item];
        item.cpu[frame] = std::max(item.cpu[frame], 0.0f) +
                          std::chrono::duration<float, std::milli>(end->cpu - begin.cpu).count();
        std::uint64_t from = 0;
        std::uint64_t to = 0;
        if (gpu && Result(begin.query, &from) && Result(end->query, &to)) {
            item.gpu[frame] = std::max(item.gpu[frame], 0.0f) +
                              static_cast<float>(static_cast<double>(to - from) * 1000.0 / frequency);
        }
    }
}

void Profiler::Finish() {
    for (Slot& slot : slots_) {
        Collect(slot);
    }
}

double Profiler::StepMedian(const std::string& view, int position) const {
    for (const ProfileItem& item : items_) {
        if (item.kind == kStep && item.number == position && item.view == view) {
            return Summarize(item.gpu).median;
        }
    }
    return -1;
}

// Nearest rank: the smallest sample with at least that share of the samples at or below it.
Summary Summarize(const std::vector<float>& samples) {
    std::vector<float> sorted;
    for (const float sample : samples) {
        if (sample >= 0) {
            sorted.push_back(sample);
        }
    }
    Summary summary;
    summary.count = static_cast<int>(sorted.size());
    if (sorted.empty()) {
        return summary;
    }
    std::sort(sorted.begin(), sorted.end());
    const auto rank = [&](double share) {
        const std::size_t at = static_cast<std::size_t>(std::ceil(share * sorted.size()));
        return sorted[std::max<std::size_t>(at, 1) - 1];
    };
    summary.median = rank(0.5);
    summary.p95 = rank(0.95);
    return summary;
}

} // namespace host
