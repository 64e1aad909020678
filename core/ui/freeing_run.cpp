// The freeing run: claims a share of RAM in zero-filled 1 MiB blocks, holds all
// of a pass at once, releases them in order, for the set number of passes.
// Whatever ends a pass, its blocks go back and the window is restored.
#include <algorithm>
#include <cstring>
#include <new>

#include "core/platform/block_allocator.h"
#include "core/platform/message_pump.h"
#include "core/ui/frm_kr_main.h"
#include "core/util/errors.h"
#include "core/util/rounding.h"
#include "core/widgets/thread_timer.h"

namespace korbela {

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

void TfrmKRmain::FreeRAM(int percent) {
    if (freeing_) return;  // a request during a run is ignored
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
        RunFreeingPasses(blocks);
    } catch (const std::bad_alloc&) {
        restore();
        throw EOutOfMemory();  // the run's own words, not the runtime's
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

}  // namespace korbela
