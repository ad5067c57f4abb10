/* Resource identifiers shared by the C++ sources and pointerwright.rc.
   Keep this file to plain #defines so the resource compiler can read it. */
#ifndef POINTERWRIGHT_RESOURCE_H
#define POINTERWRIGHT_RESOURCE_H

#define IDI_APP   102   /* application icon: 48, 32 and 16 px images */
#define IDI_SMALL 105   /* 16 px icon for the tray and window caption */

/* Tray icon and the main window's private messages and timer. */
#define TRAY_ICON_ID        101
#define WM_TRAYCALLBACK     0x0400  /* WM_USER: the tray icon's callback */
#define WM_APPLYSETTINGS    0x8001  /* WM_APP + 1: reload asked from another thread */
#define VOLUME_WATCH_TIMER  1

#endif /* POINTERWRIGHT_RESOURCE_H */
