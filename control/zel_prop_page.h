// CZelPropPage, the control's one property page ("General", dialog 100). It
// shows a placeholder and exchanges no property with the control.
#pragma once

#include "property_page.h"

namespace zel::control {

class CZelPropPage : public ole::PropertyPage {
public:
    CZelPropPage();
    void DoDataExchange(bool saving) override;
    HRESULT GetClassID(CLSID* clsid) override;
};

}  // namespace zel::control
