#include "main.h"

#include "Ausw.h"
#include "mappy.h"

// Positions are those of the windows' frames, as move() sets them.
void TForm1::PutAtSlot(QWidget* window, int offset) {
    window->move(x() + offset, y());
}

void TForm1::Button1Click() {
    TForm3* avoid = windows_.Form3;
    TForm4* map = windows_.Form4;
    if (avoid->isVisible()) {
        PutAtSlot(avoid, FirstSlot);
        PutAtSlot(map, SecondSlot);
    } else {
        PutAtSlot(map, FirstSlot);
    }
    if (map->isVisible()) {
        map->raise();
    }
    map->show();
    // The window just shown leads from now on.
    map->activateWindow();
}

// Only the leading window drags the others along; their own moves then change
// nothing, as they don't lead.
void TForm1::FormMoved() {
    if (!MainLeads) {
        return;
    }
    TForm3* avoid = windows_.Form3;
    TForm4* map = windows_.Form4;
    if (avoid == nullptr || map == nullptr) {
        return; // still starting up
    }
    const bool avoidShown = avoid->isVisible();
    const bool mapShown = map->isVisible();
    if (avoidShown) {
        PutAtSlot(avoid, FirstSlot);
    }
    if (mapShown) {
        PutAtSlot(map, avoidShown ? SecondSlot : FirstSlot);
    }
}
