// The base of every object that subclasses windows it did not make (controls,
// the tooltip, the application window): one subclass procedure for all of
// them, which hands the messages to HandleSubclassMessage, sends whatever a
// handler throws to the application's error report, and removes the subclass
// on WM_NCDESTROY or when the object goes.
#pragma once

#include <windows.h>

#include <vector>

namespace korbela {

class SubclassBase {
public:
    SubclassBase(const SubclassBase&) = delete;
    SubclassBase& operator=(const SubclassBase&) = delete;

protected:
    SubclassBase() = default;
    virtual ~SubclassBase();

    // True when the window's messages now come here too.
    bool Subclass(HWND window);
    void Unsubclass(HWND window);
    bool Subclasses(HWND window) const;

    // A message of one of the subclassed windows; by default the window's own
    // handling. After a report the message counts as handled with 0.
    virtual LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    std::vector<HWND> windows_;  // not owned
};

}  // namespace korbela
