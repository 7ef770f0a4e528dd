// The program's application object until the controller exists: it shows the About box.
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

class CFirstWindowApp : public CWinApp {
public:
    BOOL InitInstance() override {
        SetDialogBkColor(RGB(240, 245, 250), RGB(10, 10, 10));
        CDialog dlg(IDD_ABOUT);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

CFirstWindowApp theApp;

}  // namespace
