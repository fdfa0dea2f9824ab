// STUB: replaced by the main window change.
#include "main.h"

#include "RichEditSink.h"
#include "SettingsStore.h"

TForm1::TForm1(TWindows& windows, TStartOptions options)
    : windows_(windows)
    , options_(std::move(options)) {
    windows_.Form1 = this;
}
TForm1::~TForm1() = default;
void TForm1::FormCreate() {}
void TForm1::FormShow() {}
void TForm1::FormActivate() {}
void TForm1::EndItClick() {}
bool TForm1::PageControl1Changing() { return true; }
void TForm1::OButClick() {}
void TForm1::BindStarMap() {}
void TForm1::Showme(const QString&, const QString&, int, const QString&, const QString&) {}
void TForm1::showEvent(QShowEvent*) {}
void TForm1::moveEvent(QMoveEvent*) {}
void TForm1::changeEvent(QEvent*) {}
void TForm1::BuildMainLayout() {}
