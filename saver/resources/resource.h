// Resource ids of the screen saver program モザイカ図.scr, shared by the
// resource script (Mosaika.rc) and the program's code. Plain #defines only:
// the resource compiler reads this file too.
#ifndef MOSAIKA_SAVER_RESOURCE_H
#define MOSAIKA_SAVER_RESOURCE_H

// The program's icon: the host's screen-saver list and Explorer take the
// first icon of the file, and 1 is the lowest id there can be.
#define IDI_MOSAIKA 1

// The name the host's screen-saver list shows: the host loads string 1.
#define IDS_SAVER_NAME 1

// The preview window's still picture, a JPEG carried as raw data (RT_RCDATA).
#define IDR_PREVIEW_JPEG 101

// The six skins of the button Command, in the order Normal, HighLight,
// HighLightSelect, Pressed, Selected, Disable (24-bit bitmaps).
#define IDB_SKIN_FIRST 201

// The settings dialog's indicator pictures: unselected and selected.
#define IDB_INDICATOR_UNSELECTED 211
#define IDB_INDICATOR_SELECTED 212

#endif
