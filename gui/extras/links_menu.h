#pragma once

class QMenu;

namespace brevio {

class PageHost;

// Fills "Интересные ссылки" from the links file: one submenu per heading line, one item per
// link line. A missing file leaves the menu empty.
void buildLinksMenu(QMenu* menu, const PageHost& host);

} // namespace brevio
