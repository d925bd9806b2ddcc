#include "fakes/FakeRegistry.h"

#include "platform/RegistryValues.h"

#include <algorithm>
#include <cwctype>

namespace quelmo::fakes {

using namespace platform;

struct FakeRegistry::Node {
    struct Value {
        std::wstring name;
        RegType type = RegType::None;
        std::vector<std::byte> data;
    };
    std::wstring name;
    std::map<std::wstring, std::shared_ptr<Node>> children; // by folded name
    std::map<std::wstring, Value> values;                   // by folded name
    bool refuseRead = false;
    bool refuseWrite = false;
    bool removed = false;
};

namespace {

std::wstring Fold(std::wstring_view text) {
    std::wstring folded(text);
    for (auto& ch : folded) {
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    }
    return folded;
}

std::vector<std::wstring_view> SplitPath(std::wstring_view path) {
    std::vector<std::wstring_view> parts;
    while (!path.empty()) {
        const auto cut = path.find(L'\\');
        const auto part = path.substr(0, cut);
        if (!part.empty()) {
            parts.push_back(part);
        }
        if (cut == std::wstring_view::npos) {
            break;
        }
        path.remove_prefix(cut + 1);
    }
    return parts;
}

// The handle values Windows uses for the predefined keys.
std::uintptr_t RootValue(RegRoot root) {
    switch (root) {
    case RegRoot::CurrentUser:
        return 0x80000001;
    case RegRoot::LocalMachine:
        return 0x80000002;
    case RegRoot::PerformanceData:
        return 0x80000004;
    case RegRoot::DynData:
        break;
    }
    return 0x80000006;
}

constexpr RegRoot kRoots[] = {RegRoot::LocalMachine, RegRoot::CurrentUser, RegRoot::PerformanceData,
                              RegRoot::DynData};

std::optional<RegRoot> RootOf(RegKey key) {
    for (const RegRoot root : kRoots) {
        if (key.value == RootValue(root)) {
            return root;
        }
    }
    return std::nullopt;
}

bool Reads(RegAccess access) {
    return access == RegAccess::Read || access == RegAccess::AllAccess;
}

bool Writes(RegAccess access) {
    return access == RegAccess::Write || access == RegAccess::AllAccess;
}

} // namespace

FakeRegistry::FakeRegistry() {
    for (const RegRoot root : kRoots) {
        roots_[root] = std::make_shared<Node>();
    }
}

FakeRegistry::~FakeRegistry() = default;

RegKey FakeRegistry::RootKey(RegRoot root) {
    return RegKey{RootValue(root)};
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::RootNode(RegRoot root) const {
    return roots_.at(root);
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Find(const std::shared_ptr<Node>& from,
                                                       std::wstring_view path) const {
    std::shared_ptr<Node> node = from;
    for (const auto part : SplitPath(path)) {
        const auto it = node->children.find(Fold(part));
        if (it == node->children.end()) {
            return nullptr;
        }
        node = it->second;
    }
    return node;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::FindOrAdd(const std::shared_ptr<Node>& from,
                                                            std::wstring_view path) {
    std::shared_ptr<Node> node = from;
    for (const auto part : SplitPath(path)) {
        auto& child = node->children[Fold(part)];
        if (!child) {
            child = std::make_shared<Node>();
            child->name = std::wstring(part);
        }
        node = child;
    }
    return node;
}

std::optional<FakeRegistry::Handle> FakeRegistry::Resolve(RegKey key) const {
    if (const auto root = RootOf(key)) {
        return Handle{RootNode(*root), RegAccess::AllAccess};
    }
    const auto it = handles_.find(key.value);
    if (it == handles_.end()) {
        return std::nullopt;
    }
    return it->second;
}

RegKey FakeRegistry::NewHandle(std::shared_ptr<Node> node, RegAccess access) {
    const std::uintptr_t value = nextHandle_;
    nextHandle_ += 4;
    handles_[value] = Handle{std::move(node), access};
    return RegKey{value};
}

RegStatus FakeRegistry::OpenKey(RegKey parent, std::wstring_view path, RegAccess access, RegKey& key) {
    const std::lock_guard lock(mutex_);
    key = {};
    const auto from = Resolve(parent);
    if (!from) {
        return kErrorInvalidHandle;
    }
    if (from->node->removed) {
        return kErrorKeyDeleted;
    }
    auto node = Find(from->node, path);
    if (!node) {
        return kErrorFileNotFound;
    }
    if ((Reads(access) && node->refuseRead) || (Writes(access) && node->refuseWrite)) {
        return kErrorAccessDenied;
    }
    key = NewHandle(std::move(node), access);
    return kErrorSuccess;
}

RegStatus FakeRegistry::CreateKey(RegKey parent, std::wstring_view path, RegAccess access, RegKey& key) {
    const std::lock_guard lock(mutex_);
    key = {};
    const auto from = Resolve(parent);
    if (!from) {
        return kErrorInvalidHandle;
    }
    if (from->node->removed) {
        return kErrorKeyDeleted;
    }
    std::shared_ptr<Node> node = from->node;
    for (const auto part : SplitPath(path)) {
        auto& child = node->children[Fold(part)];
        if (!child) {
            if (node->refuseWrite || writeFailure_ != kErrorSuccess) {
                node->children.erase(Fold(part));
                return node->refuseWrite ? kErrorAccessDenied : writeFailure_;
            }
            child = std::make_shared<Node>();
            child->name = std::wstring(part);
        }
        node = child;
    }
    if ((Reads(access) && node->refuseRead) || (Writes(access) && node->refuseWrite)) {
        return kErrorAccessDenied;
    }
    key = NewHandle(std::move(node), access);
    return kErrorSuccess;
}

void FakeRegistry::CloseKey(RegKey key) {
    const std::lock_guard lock(mutex_);
    if (const auto root = RootOf(key)) {
        ++rootCloses_[*root];
        return;
    }
    handles_.erase(key.value);
}

RegStatus FakeRegistry::QueryValue(RegKey key, std::wstring_view name, RegType& type,
                                   std::span<std::byte> buffer, std::uint32_t& size) {
    std::unique_lock lock(mutex_);
    if (const auto root = RootOf(key)) {
        const auto hook = hooks_.find(*root);
        if (hook != hooks_.end()) {
            ++rootQueries_[*root];
            // The hook may take its time or call back into the registry: run it unlocked.
            const QueryHook answer = hook->second;
            lock.unlock();
            return answer(name, type, buffer, size);
        }
    }
    const auto handle = Resolve(key);
    if (!handle) {
        return kErrorInvalidHandle;
    }
    if (handle->node->removed) {
        return kErrorKeyDeleted;
    }
    if (!Reads(handle->access)) {
        return kErrorAccessDenied;
    }
    const auto it = handle->node->values.find(Fold(name));
    if (it == handle->node->values.end()) {
        return kErrorFileNotFound;
    }
    return Answer(it->second.data, it->second.type, type, buffer, size);
}

RegStatus FakeRegistry::SetValue(RegKey key, std::wstring_view name, RegType type,
                                 std::span<const std::byte> data) {
    const std::lock_guard lock(mutex_);
    const auto handle = Resolve(key);
    if (!handle) {
        return kErrorInvalidHandle;
    }
    if (handle->node->removed) {
        return kErrorKeyDeleted;
    }
    if (!Writes(handle->access)) {
        return kErrorAccessDenied;
    }
    if (writeFailure_ != kErrorSuccess) {
        return writeFailure_;
    }
    auto& value = handle->node->values[Fold(name)];
    if (value.name.empty()) {
        value.name = std::wstring(name);
    }
    value.type = type;
    value.data.assign(data.begin(), data.end());
    return kErrorSuccess;
}

RegStatus FakeRegistry::DeleteValue(RegKey key, std::wstring_view name) {
    const std::lock_guard lock(mutex_);
    const auto handle = Resolve(key);
    if (!handle) {
        return kErrorInvalidHandle;
    }
    if (handle->node->removed) {
        return kErrorKeyDeleted;
    }
    if (!Writes(handle->access)) {
        return kErrorAccessDenied;
    }
    if (writeFailure_ != kErrorSuccess) {
        return writeFailure_;
    }
    return handle->node->values.erase(Fold(name)) != 0 ? kErrorSuccess : kErrorFileNotFound;
}

std::wstring FakeRegistry::ErrorText(RegStatus status) {
    switch (status) {
    case kErrorSuccess:
        return L"The operation completed successfully.";
    case kErrorFileNotFound:
        return L"The system cannot find the file specified.";
    case kErrorAccessDenied:
        return L"Access is denied.";
    case kErrorInvalidHandle:
        return L"The handle is invalid.";
    case kErrorInvalidData:
        return L"The data is invalid.";
    case kErrorMoreData:
        return L"More data is available.";
    case kErrorKeyDeleted:
        return L"Illegal operation attempted on a registry key that has been marked for deletion.";
    default:
        return L"Error " + std::to_wstring(status) + L".";
    }
}

void FakeRegistry::AddKey(RegRoot root, std::wstring_view path) {
    const std::lock_guard lock(mutex_);
    FindOrAdd(RootNode(root), path);
}

void FakeRegistry::RemoveKey(RegRoot root, std::wstring_view path) {
    const std::lock_guard lock(mutex_);
    auto parts = SplitPath(path);
    if (parts.empty()) {
        return;
    }
    const auto last = parts.back();
    parts.pop_back();
    std::shared_ptr<Node> parent = RootNode(root);
    for (const auto part : parts) {
        const auto it = parent->children.find(Fold(part));
        if (it == parent->children.end()) {
            return;
        }
        parent = it->second;
    }
    const auto it = parent->children.find(Fold(last));
    if (it == parent->children.end()) {
        return;
    }
    // Handles still open on the removed keys answer kErrorKeyDeleted from now on.
    std::vector<std::shared_ptr<Node>> pending{it->second};
    while (!pending.empty()) {
        const auto node = pending.back();
        pending.pop_back();
        node->removed = true;
        for (const auto& [name, child] : node->children) {
            pending.push_back(child);
        }
    }
    parent->children.erase(it);
}

bool FakeRegistry::HasKey(RegRoot root, std::wstring_view path) const {
    const std::lock_guard lock(mutex_);
    return Find(RootNode(root), path) != nullptr;
}

void FakeRegistry::SetString(RegRoot root, std::wstring_view path, std::wstring_view name,
                             std::wstring_view text, RegType type) {
    SetRaw(root, path, name, type, StringValueBytes(text));
}

void FakeRegistry::SetDword(RegRoot root, std::wstring_view path, std::wstring_view name,
                            std::uint32_t value) {
    SetRaw(root, path, name, RegType::Dword,
           {static_cast<std::byte>(value & 0xFF), static_cast<std::byte>((value >> 8) & 0xFF),
            static_cast<std::byte>((value >> 16) & 0xFF), static_cast<std::byte>((value >> 24) & 0xFF)});
}

void FakeRegistry::SetRaw(RegRoot root, std::wstring_view path, std::wstring_view name, RegType type,
                          std::vector<std::byte> data) {
    const std::lock_guard lock(mutex_);
    auto& value = FindOrAdd(RootNode(root), path)->values[Fold(name)];
    value.name = std::wstring(name);
    value.type = type;
    value.data = std::move(data);
}

bool FakeRegistry::HasValue(RegRoot root, std::wstring_view path, std::wstring_view name) const {
    return ValueType(root, path, name).has_value();
}

std::optional<RegType> FakeRegistry::ValueType(RegRoot root, std::wstring_view path,
                                               std::wstring_view name) const {
    const std::lock_guard lock(mutex_);
    const auto node = Find(RootNode(root), path);
    if (!node) {
        return std::nullopt;
    }
    const auto it = node->values.find(Fold(name));
    if (it == node->values.end()) {
        return std::nullopt;
    }
    return it->second.type;
}

std::optional<std::wstring> FakeRegistry::GetString(RegRoot root, std::wstring_view path,
                                                    std::wstring_view name) const {
    const std::lock_guard lock(mutex_);
    const auto node = Find(RootNode(root), path);
    if (!node) {
        return std::nullopt;
    }
    const auto it = node->values.find(Fold(name));
    if (it == node->values.end() ||
        (it->second.type != RegType::String && it->second.type != RegType::ExpandString)) {
        return std::nullopt;
    }
    return StringFromValueBytes(it->second.data);
}

std::optional<std::uint32_t> FakeRegistry::GetDword(RegRoot root, std::wstring_view path,
                                                    std::wstring_view name) const {
    const std::lock_guard lock(mutex_);
    const auto node = Find(RootNode(root), path);
    if (!node) {
        return std::nullopt;
    }
    const auto it = node->values.find(Fold(name));
    if (it == node->values.end() || it->second.type != RegType::Dword || it->second.data.size() != 4) {
        return std::nullopt;
    }
    const auto& d = it->second.data;
    return std::to_integer<std::uint32_t>(d[0]) | (std::to_integer<std::uint32_t>(d[1]) << 8) |
           (std::to_integer<std::uint32_t>(d[2]) << 16) | (std::to_integer<std::uint32_t>(d[3]) << 24);
}

void FakeRegistry::RefuseRead(RegRoot root, std::wstring_view path, bool refuse) {
    const std::lock_guard lock(mutex_);
    FindOrAdd(RootNode(root), path)->refuseRead = refuse;
}

void FakeRegistry::RefuseWrite(RegRoot root, std::wstring_view path, bool refuse) {
    const std::lock_guard lock(mutex_);
    FindOrAdd(RootNode(root), path)->refuseWrite = refuse;
}

void FakeRegistry::FailWrites(RegStatus status) {
    const std::lock_guard lock(mutex_);
    writeFailure_ = status;
}

void FakeRegistry::SetRootQueryHook(RegRoot root, QueryHook hook) {
    const std::lock_guard lock(mutex_);
    if (hook) {
        hooks_[root] = std::move(hook);
    } else {
        hooks_.erase(root);
    }
}

RegStatus FakeRegistry::Answer(std::span<const std::byte> data, RegType dataType, RegType& type,
                               std::span<std::byte> buffer, std::uint32_t& size) {
    type = dataType;
    const auto needed = static_cast<std::uint32_t>(data.size());
    if (buffer.empty()) {
        size = needed;
        return kErrorSuccess;
    }
    const std::size_t capacity = std::min<std::size_t>(size, buffer.size());
    size = needed;
    if (data.size() > capacity) {
        return kErrorMoreData;
    }
    std::copy(data.begin(), data.end(), buffer.begin());
    return kErrorSuccess;
}

int FakeRegistry::OpenHandleCount() const {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(handles_.size());
}

int FakeRegistry::RootCloseCount(RegRoot root) const {
    const std::lock_guard lock(mutex_);
    const auto it = rootCloses_.find(root);
    return it == rootCloses_.end() ? 0 : it->second;
}

int FakeRegistry::RootQueryCount(RegRoot root) const {
    const std::lock_guard lock(mutex_);
    const auto it = rootQueries_.find(root);
    return it == rootQueries_.end() ? 0 : it->second;
}

} // namespace quelmo::fakes
