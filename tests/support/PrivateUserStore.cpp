// Every plug-in instance reads the per-user store when it is created and writes its
// last-used paths when it is released, so the whole test process gets a store of its own
// before any test runs: nothing a test does can read or change the real user's settings.
#include "support/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace
{
struct PrivateUserStore
{
    PrivateUserStore()
    {
        try
        {
            home.emplace();
        }
        catch (const std::exception& e)
        {
            std::fprintf(stderr, "tests: %s; refusing to run against the real user store\n",
                         e.what());
            std::abort();
        }
        // HOME too, so that a test which unsets XDG_CONFIG_HOME still stays in here.
        setEnvironment("XDG_CONFIG_HOME", home->file("config"));
        setEnvironment("HOME", home->path().string());
    }

    std::optional<TempFolder> home;
    ScopedRegistryKey registryKey; // the Windows build's store: a test key of the process
};

// Static initialisation: before main, so before the first instance is created.
const PrivateUserStore privateUserStore;
} // namespace
