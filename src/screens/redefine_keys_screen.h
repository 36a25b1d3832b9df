// The key redefinition screen: the seven controls with their keys; activating a line waits for
// the next key press and binds it.
#pragma once

#include <memory>

#include "runtime/string.h"
#include "screens/menu.h"

class c_RedefineKeysScreen {
public:
    static constexpr int m_Back = 7; // the menu line after the seven controls

    void p_OnInit();
    // Rewrites the seven control lines from the bindings (and the waiting state).
    void p_UpdateKeys();
    void p_Update();
    void p_Render();
    void p_OnUpdate() { p_Update(); }
    void p_OnRender() { p_Render(); }

    // Control line `control`: its label and its key's name, or the waiting prompt.
    String p_ControlLine(int control) const;

    int m_state = 0; // 0 choosing with the menu, 1 waiting for a key
    std::unique_ptr<c_Menu> m_menu;
    int m_control = 0; // the control being redefined

private:
    void WaitForKey();
};
