#include "zel_prop_page.h"

#include "guids.h"

namespace zel::control {

CZelPropPage::CZelPropPage() : PropertyPage(kIddPropPage, kIdsPropPageCaption) {}

void CZelPropPage::DoDataExchange(bool) {}

HRESULT CZelPropPage::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = kPropPageClsid;
    return S_OK;
}

}  // namespace zel::control
