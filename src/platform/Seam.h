// The seam between the portable layer and the operating system.
//
// Each group of OS services is one small abstract class (Registry, Time, Threads, ...). The
// portable code reaches the current implementation through Seam<Group>::Get(); the product uses
// the real one for its platform (platform/win32, or platform/posix for the native tools), and a
// test installs a fake for its own scope with ScopedSeam. Installing is not thread-safe: do it
// before the code under test starts threads.
#pragma once

namespace quelmo::platform {

template <class Group>
class Seam {
public:
    static Group& Get() { return override_ != nullptr ? *override_ : Default(); }

    // The real implementation; defined once per group in the platform's implementation file.
    static Group& Default();

private:
    template <class>
    friend class ScopedSeam;
    static inline Group* override_ = nullptr;
};

// Installs `fake` as the current implementation of Group until the end of the scope.
template <class Group>
class ScopedSeam {
public:
    explicit ScopedSeam(Group& fake) : previous_(Seam<Group>::override_) { Seam<Group>::override_ = &fake; }
    ~ScopedSeam() { Seam<Group>::override_ = previous_; }
    ScopedSeam(const ScopedSeam&) = delete;
    ScopedSeam& operator=(const ScopedSeam&) = delete;

private:
    Group* previous_;
};

} // namespace quelmo::platform
