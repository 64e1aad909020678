// Program entry: the application is made, runs its message loop and undoes
// itself on the way out.
#include <windows.h>

#include "win32/app/korbela_application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        korbela::KorbelaApplication application(instance);
        return application.Run();
    } catch (const korbela::StartAbandoned&) {
        return 1;  // the reason has been shown
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), "Korbela Lite", MB_OK | MB_ICONERROR);
        return 1;
    } catch (...) {
        MessageBoxA(nullptr, "Unknown error.", "Korbela Lite", MB_OK | MB_ICONERROR);
        return 1;
    }
}
