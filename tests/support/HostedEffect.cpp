// HostedEffect: the record behind an entry point and the editor opcodes.
#include "HostedEffect.h"

HostedEffect::HostedEffect(const AddOn& addOn)
{
    if (addOn.entry() == nullptr)
        return;
    recorder_.beginLoading();
    effect_ = addOn.entry()(HostRecorder::callback);
    recorder_.attach(effect_);
}

HostedEffect::~HostedEffect()
{
    if (effect_ == nullptr)
        return;
    if (open_)
        close();
    dispatch(effClose);
}

VstIntPtr HostedEffect::dispatch(int32_t opcode, int32_t index, VstIntPtr value, void* ptr,
                                 float opt)
{
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

VstIntPtr HostedEffect::open(uint32_t parent)
{
    const VstIntPtr opened =
        dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(parent)));
    open_ = open_ || opened == 1;
    return opened;
}

void HostedEffect::idle()
{
    dispatch(effEditIdle);
}

void HostedEffect::close()
{
    dispatch(effEditClose);
    open_ = false;
}

void HostedEffect::setParameter(int32_t index, float value)
{
    effect_->setParameter(effect_, index, value);
}

std::string HostedEffect::display(int32_t index)
{
    char text[64] = {};
    dispatch(effGetParamDisplay, index, 0, text);
    return text;
}

bool HostedEffect::automated(int32_t index, float value) const
{
    for (const HostCall& call : recorder_.calls()) {
        if (call.opcode == audioMasterAutomate && call.index == index && call.opt == value)
            return true;
    }
    return false;
}
