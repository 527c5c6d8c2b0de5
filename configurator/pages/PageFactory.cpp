#include "PageFactory.h"

#include "CBarcodePropertiesDlg.h"
#include "CEmptyDlg.h"
#include "CFontPropertiesDlg.h"
#include "CPrinterInfoDlg.h"
#include "CPrinterOptionsDlg.h"
#include "CPrinterPortProperties.h"
#include "CPrintingPropertiesDlg.h"
#include "CTextPosPropertiesDlg.h"

CPage* CreatePage(int id, IPageHost& host, QWidget* parent) {
    switch (id) {
        case kPagePrinting:
            return new CPrintingPropertiesDlg(host, parent);
        case kPageFont:
            return new CFontPropertiesDlg(host, parent);
        case kPageBarcode:
            return new CBarcodePropertiesDlg(host, parent);
        case kPageTextPosition:
            return new CTextPosPropertiesDlg(host, parent);
        case kPageInfo:
            return new CPrinterInfoDlg(host, parent);
        case kPageOptions:
            return new CPrinterOptionsDlg(host, parent);
        case kPageEmpty:
            return new CEmptyDlg(host, parent);
        case kPagePort:
            return new CPrinterPortProperties(host, parent);
        default:
            return nullptr;
    }
}
