// Freeing RAM: the run itself, the clean levels of the tray menu, and automatic
// freeing with its CPU check.

#include <algorithm>
#include <cstring>
#include <new>

#include "core/form/frm_kr_main.h"
#include "core/form/main_window_host.h"
#include "core/system/arithmetic.h"
#include "core/system/errors.h"
#include "core/system/memory.h"
#include "core/system/message_pump.h"
#include "core/system/thread_timer.h"
#include "core/tray/tray_target.h"

namespace korbela {

// The clean levels and the automatic run free in one pass: the attempts
// spinner shows 1 for the length of the run and the user's value again after
// it, however the run ends. Neither change is stored, so a run that never ends
// (the process killed, the session over) cannot leave the user's value at 1.
class OnePassScope {
public:
    explicit OnePassScope(TfrmKRmain& form) : form_(form), owner_(!form.userAttempts_) {
        if (!owner_) return;  // already inside one: the spinner shows 1
        form_.userAttempts_ = form_.spnAtempts.Value();
        form_.spnAtempts.SetValue(1);
    }
    ~OnePassScope() {
        if (!owner_) return;
        form_.spnAtempts.SetValue(*form_.userAttempts_);
        form_.userAttempts_.reset();
    }
    OnePassScope(const OnePassScope&) = delete;
    OnePassScope& operator=(const OnePassScope&) = delete;

private:
    TfrmKRmain& form_;
    bool owner_;
};

// The freeing run: claims a share of RAM in zero-filled 1 MiB blocks, holds all
// of a pass at once, releases them in order, for the set number of passes.
// Whatever ends a pass, its blocks go back and the window is restored.
int32_t TfrmKRmain::BlocksForPercent(int percent) const {
    const int64_t perPercent = RoundHalfEvenQuotient(TotalMB_, 100);
    return static_cast<int32_t>(perPercent * percent);
}

void TfrmKRmain::ShowWorkingPercent() {
    const int64_t share = RoundHalfEvenQuotient(int64_t{pbrWorking.Position()} * 100, pbrWorking.Max());
    lblWorking.SetCaption(std::to_string(share) + "%");
}

void TfrmKRmain::ReleaseBlocks(int32_t count) {
    for (int32_t k = 0; k < count; ++k) {
        if (RAMBlocks_[k] != nullptr) {
            allocator_.Release(RAMBlocks_[k], kRAMBlockSize);
            RAMBlocks_[k] = nullptr;
        }
    }
}

void TfrmKRmain::RunFreeingPasses(int32_t blocks) {
    const int passes = spnAtempts.Value();
    for (int pass = 1; pass <= passes; ++pass) {
        pbrWorking.SetPosition(0);
        lblPass.SetCaption("Pass " + std::to_string(pass) + " of " + std::to_string(spnAtempts.Value()));
        int32_t taken = 0;
        try {
            for (int32_t k = 0; k < blocks; ++k) {
                void* block = allocator_.Allocate(kRAMBlockSize);
                if (block == nullptr) throw EOutOfMemory();
                std::memset(block, 0, kRAMBlockSize);  // every byte written
                RAMBlocks_[k] = block;
                taken = k + 1;
                pbrWorking.SetPosition(pbrWorking.Position() + 1);
                ShowWorkingPercent();
                pump_.ProcessMessages();
                if (pump_.Terminated()) throw EAbort();
            }
            for (int32_t k = 0; k < blocks; ++k) {
                allocator_.Release(RAMBlocks_[k], kRAMBlockSize);
                RAMBlocks_[k] = nullptr;
                pbrWorking.SetPosition(pbrWorking.Position() + 1);
                ShowWorkingPercent();
                pump_.ProcessMessages();
                if (pump_.Terminated()) throw EAbort();
            }
        } catch (...) {
            ReleaseBlocks(taken);
            throw;
        }
    }
}

FreedMemory FreedBetween(uint64_t availableBefore, uint64_t availableAfter) {
    const int64_t gained = static_cast<int64_t>(availableAfter) - static_cast<int64_t>(availableBefore);
    return FreedMemory{gained >> 20, BytesToMB(availableAfter)};
}

std::string FreedNotice(const FreedMemory& freed) {
    const std::string freeNow = std::to_string(freed.freeMB) + " MB free now.";
    if (freed.freedMB <= 0) return "Nothing freed. " + freeNow;
    return "Freed " + std::to_string(freed.freedMB) + " MB. " + freeNow;
}

std::optional<FreedMemory> TfrmKRmain::FreeRAM(int percent) {
    if (freeing_) return std::nullopt;  // a request during a run is ignored
    const int32_t blocks = std::max<int32_t>(0, BlocksForPercent(percent));
    freeing_ = true;
    auto restore = [this] {
        pnlFreeing_RAM.SetVisible(false);
        pnlPass.SetVisible(false);
        pgRAM.SetEnabled(true);
        btnFreeRAM.SetEnabled(true);
        tmrUsage_.SetEnabled(true);
        figuresFresh_ = false;  // the figures of the last tick are from before the run
        freeing_ = false;
    };
    FreedMemory freed;
    try {
        tmrUsage_.SetEnabled(false);
        pbrWorking.SetPosition(0);
        // The panel opens on this run's first pass, never on the last run's end.
        lblPass.SetCaption("Pass 1 of " + std::to_string(spnAtempts.Value()));
        lblWorking.SetCaption("0%");
        pnlPass.SetTop(24);
        pnlPass.SetVisible(true);
        pump_.ProcessMessages();
        pbrWorking.SetMax(2 * blocks);
        RAMBlocks_.assign(static_cast<std::size_t>(blocks), nullptr);
        pgRAM.SetEnabled(false);
        btnFreeRAM.SetEnabled(false);
        pnlFreeing_RAM.SetVisible(true);
        if (pump_.Terminated()) throw EAbort();
        const uint64_t before = memory_.Snapshot().AvailPhys;
        RunFreeingPasses(blocks);
        freed = FreedBetween(before, memory_.Snapshot().AvailPhys);
    } catch (const std::bad_alloc&) {
        restore();
        throw EOutOfMemory();  // the run's own words, not the runtime's
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return freed;
}

// The tray's clean levels: one pass at a fixed target with the window shown,
// its percent and MB on the target label and bar for the length of the run,
// then back to the tray.
void TfrmKRmain::CleanLevel(int percent) {
    if (freeing_) return;  // never a run inside a run
    std::optional<FreedMemory> freed;
    {
        OnePassScope onePass(*this);
        ShowAndFront();  // showing applies the stored settings, the slider's too
        // However the run ends, the label and the bar show the slider again.
        struct LevelShown {
            TfrmKRmain& form;
            ~LevelShown() {
                form.pbrTargetRAM.SetPercent(form.tbrTarget.Position());
                form.ShowTargetCaption(form.tbrTarget.Position());
            }
        };
        LevelShown shown{*this};
        pbrTargetRAM.SetPercent(percent);
        ShowTargetCaption(percent);
        freed = FreeRAM(percent);
    }
    tray_.HideToTray();
    TellFreed(freed);
}

// A run that ended normally says what it freed on the tray icon; one that
// failed has said why in its message already.
void TfrmKRmain::TellFreed(const std::optional<FreedMemory>& freed) {
    if (freed) tray_.ShowNotification(FreedNotice(*freed));
}

void TfrmKRmain::LightClean1Click() { CleanLevel(30); }

void TfrmKRmain::MediumClean1Click() { CleanLevel(60); }

void TfrmKRmain::HeavyClean1Click() { CleanLevel(80); }

// Automatic freeing: the once-a-minute check, the automatic run and its
// hidden test button.
void TfrmKRmain::tmrCheckCPUTimer() {
    if (Loading_) return;
    if (!chbAuto_Free.Checked()) return;
    if (!(LastCPULoad_ < CPUThreshold_)) return;
    if (!(FreeMB_ < AutoFreeMB_)) return;
    // Figures from before the last run ended say nothing about memory now.
    if (!figuresFresh_) return;
    // A silent run stays silent to its end, whatever the box says by then.
    const bool silent = chbAuto_Free_Silent.Checked();
    const std::optional<FreedMemory> freed = AutoFreeRAM();
    if (!silent) TellFreed(freed);
}

std::optional<FreedMemory> TfrmKRmain::AutoFreeRAM() {
    if (freeing_) return std::nullopt;  // never a run inside a run
    const bool wasVisible = host_.IsVisible();
    std::optional<FreedMemory> freed;
    {
        OnePassScope onePass(*this);
        if (!chbAuto_Free_Silent.Checked()) ShowAndFront();
        pump_.ProcessMessages();
        freed = FreeRAM(tbrAuto_Level.Position());
    }
    if (!wasVisible) tray_.HideToTray();
    return freed;
}

// The test button is the user's own request: it always says what it freed.
void TfrmKRmain::btnTest_Auto_FreeClick() { TellFreed(AutoFreeRAM()); }

}  // namespace korbela
