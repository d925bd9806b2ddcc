#include "cpuid/CpuCache.h"

#include "cpuid/CpuTexts.h"

namespace quelmo {
namespace {

class TNoAssociativity final : public ICpuCacheAssociativity {
public:
    CpuRef<ICpuNumber> Encoding() const override { return CpuNumber(0); }
    std::string Text() const override { return std::string(texts::kAssociativityNone); }
};

class TNoCache final : public ICpuCache {
public:
    CpuRef<ICpuCacheAssociativity> Associativity() const override {
        return std::make_shared<const TNoAssociativity>();
    }
    CpuRef<ICpuBoolean> Available() const override { return CpuBoolean(false); }
    CpuRef<ICpuNumber> LineSize() const override { return CpuNumber(0); }
    CpuRef<ICpuNumber> Size() const override { return CpuNumber(0); }
};

class TNoSegmentedCache final : public ICpuSegmentedCache {
public:
    CpuRef<ICpuCache> Code() const override { return std::make_shared<const TNoCache>(); }
    CpuRef<ICpuCache> Data() const override { return std::make_shared<const TNoCache>(); }
    CpuRef<ICpuCache> Unified() const override { return std::make_shared<const TNoCache>(); }
};

} // namespace

CpuRef<ICpuSegmentedCache> TProcessorCache::Level1() const {
    return std::make_shared<const TNoSegmentedCache>();
}

CpuRef<ICpuCache> TProcessorCache::Level2() const {
    return std::make_shared<const TNoCache>();
}

CpuRef<ICpuCache> TProcessorCache::Level3() const {
    return std::make_shared<const TNoCache>();
}

CpuRef<ICpuCache> TProcessorCache::Trace() const {
    return std::make_shared<const TNoCache>();
}

} // namespace quelmo
