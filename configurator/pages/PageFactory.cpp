#include "PageFactory.h"

#include "CBarcodePropertiesDlg.h"
#include "CEmptyDlg.h"
#include "CFontPropertiesDlg.h"
#include "CPrinterInfoDlg.h"
#include "CPrinterOptionsDlg.h"
#include "CPrinterPortProperties.h"
#include "CPrintingPropertiesDlg.h"
#include "CTextPosPropertiesDlg.h"

std::vector<CPage*> CreatePages(IPageHost& host, QWidget* parent) {
    return {new CPrinterOptionsDlg(host, parent),    new CPrintingPropertiesDlg(host, parent),
            new CFontPropertiesDlg(host, parent),    new CTextPosPropertiesDlg(host, parent),
            new CBarcodePropertiesDlg(host, parent), new CPrinterPortProperties(host, parent),
            new CPrinterInfoDlg(host, parent),       new CEmptyDlg(host, parent)};
}
