// What the main window's behaviour needs of its real window.
#pragma once

namespace korbela {

class IMainWindowHost {
public:
    virtual ~IMainWindowHost() = default;
    virtual bool IsVisible() = 0;
    // Makes the window visible; becoming visible runs FormShow.
    virtual void Show() = 0;
    virtual void BringToFront() = 0;
    virtual void Repaint() = 0;
    // Asks the application to end; the message loop ends when it sees it.
    virtual void Terminate() = 0;
};

}  // namespace korbela
