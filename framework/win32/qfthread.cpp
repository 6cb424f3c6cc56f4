// IQfThreadMgr: per-thread blocks of bank space found through one
// thread-local storage slot, and the bank table shared by all threads.
#include "qfbank.h"
#include "qfinternal.h"

namespace {

void* AllocFromPool(size_t size, void*)
{
    IQfMemory* memory = QfMemory();
    return memory ? memory->AllocBlock(static_cast<uint32_t>(size)) : nullptr;
}

void FreeToPool(void* block, void*)
{
    if (IQfMemory* memory = QfMemory())
        memory->FreePoolBlock(block);
}

class QfThreadMgr : public QfServiceBase<IQfThreadMgr> {
public:
    QfThreadMgr() : QfServiceBase(&g_qfIds.thread, "IQfThreadMgr"), store_(AllocFromPool, FreeToPool, nullptr)
    {
        slot_ = TlsAlloc();
    }

    int32_t QFAPI IsThreadReady() override { return Block() != nullptr; }
    void* QFAPI GetBank(uint32_t handle) override
    {
        QfThreadBlock* block = Block();
        if (!block) {
            block = store_.Acquire();
            if (!block) {
                QfRoot()->DiagnosticPrintf(0, "Qf: (QfThreadMgr) Thread local storage banks exhausted; Thread may fail.");
                return nullptr;
            }
            TlsSetValue(slot_, block);
        }
        return QfBankTable::Address(block->bank, handle);
    }
    uint32_t QFAPI AllocBank(uint32_t size, QfBankCleanup cleanup) override { return banks_.Alloc(size, cleanup); }
    int32_t QFAPI ThreadAttach() override { return 1; }
    int32_t QFAPI ThreadDetach() override
    {
        QfThreadBlock* block = Block();
        if (!block)
            return 0;
        banks_.RunCleanups(block->bank);
        TlsSetValue(slot_, nullptr);
        store_.Release(block);
        return 1;
    }
    intptr_t QFAPI Notify1038() override { return Notify(QF_MSG_NOTIFY_1038); }
    intptr_t QFAPI Notify1039() override { return Notify(QF_MSG_NOTIFY_1039); }

private:
    QfThreadBlock* Block() const
    {
        return slot_ == TLS_OUT_OF_INDEXES ? nullptr : static_cast<QfThreadBlock*>(TlsGetValue(slot_));
    }
    intptr_t Notify(uint32_t code)
    {
        QfThreadBlock* block = Block();
        void* bank = block ? QfBankTable::Address(block->bank, g_qfObjectBank) : nullptr;
        IQfWindowObject* object = bank ? *static_cast<IQfWindowObject**>(bank) : nullptr;
        return object ? QfDeliverToObject(object, code, 0, 0) : 0;
    }

    DWORD slot_ = TLS_OUT_OF_INDEXES;
    QfBankTable banks_;
    QfBlockStore store_;
};

}  // namespace

QfResult QfCreateThreadMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context)
{
    return QfLocalCreate<QfThreadMgr>(iid, out, outer, context);
}
