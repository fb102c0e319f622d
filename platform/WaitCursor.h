#pragma once

// Shows the wait cursor for as long as it lives. The header needs no GUI module,
// so the data store can use it.
class ScopedWaitCursor
{
public:
    ScopedWaitCursor();
    ~ScopedWaitCursor();
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;
};
