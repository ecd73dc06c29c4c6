// JobEvents has no code of its own; this file gives its signals a home for moc.
#include "settings/view_ui.h"
