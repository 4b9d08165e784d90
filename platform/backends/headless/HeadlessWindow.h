/* The headless window record: the one thing that crosses between a host
 * without a screen and the add-on's window. Plain C, no C++ types; each side
 * links its own copy of the platform layer and only this record is shared.
 * The full contract is in docs/architecture.md, "The headless window record". */
#ifndef WOBRIX_HEADLESS_WINDOW_H
#define WOBRIX_HEADLESS_WINDOW_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define WOBRIX_HEADLESS_WINDOW_VERSION 2u

/* Written once by the host before the record is handed over, then read-only:
 *   version .. pixels.
 * Every later field is shared and is read and written only with the
 * compiler's __atomic builtins (serials with release on write, acquire on
 * read). The two wake words are futex words: whoever bumps one then wakes
 * its waiters (FUTEX_WAKE, process-private). Waiters always use a time-out
 * and look again, so a lost wake-up costs only latency. */
typedef struct WobrixHeadlessWindow {
    uint32_t version;    /* WOBRIX_HEADLESS_WINDOW_VERSION */
    uint32_t size;       /* sizeof(WobrixHeadlessWindow) as the host compiled it */
    int32_t width;       /* pixels, at least 1 */
    int32_t height;      /* pixels, at least 1 */
    int32_t stride;      /* bytes from one row to the next, at least 4 * width */
    int32_t screen_left; /* the window's top-left pixel on the (imagined) screen */
    int32_t screen_top;
    uint32_t reserved0; /* 0 */
    uint8_t* pixels;    /* host-owned, stride * height bytes; blue, green, red, alpha */

    /* Pointer state, written by the host: a state, not a queue. */
    int32_t pointer_x; /* window pixels */
    int32_t pointer_y;
    uint32_t buttons;        /* 1 primary, 2 secondary, 4 tertiary */
    uint32_t modifiers;      /* 0x1 shift, 0x2 command, 0x4 control, 0x40 option */
    uint32_t pointer_serial; /* host: +1 after every change of the four above */
    uint32_t pointer_seen;   /* add-on: the pointer_serial of the latest state it read */
    uint32_t input_ended;    /* host: 1 once its script is over; buttons and keys then read as
                                released, and open menus are dismissed */

    /* Requests, written by the host: the fields first, then the serial, then a wake. */
    uint32_t redraw_request; /* serial: draw every view */
    int32_t press_x;         /* where the press lands, window pixels */
    int32_t press_y;
    uint32_t press_buttons;
    uint32_t press_modifiers;
    uint32_t press_clicks; /* 1 for a single click */
    uint32_t
        press_request; /* serial: deliver one press; the next only after press_done caught up */

    /* Answers, written by the add-on, each followed by a wake of wake_host. */
    uint32_t redraw_done; /* the redraw_request drawn last */
    uint32_t press_done;  /* the press_request whose MouseDown returned last */
    uint32_t
        picture_serial;    /* odd while the add-on writes pixels, even when the picture is whole */
    uint32_t attached;     /* 1 while an add-on window uses the record */
    int32_t content_width; /* the window's size as the add-on sees it (it may resize) */
    int32_t content_height;

    uint32_t wake_addon; /* futex: bumped to make the add-on's window thread look */
    uint32_t wake_host;  /* futex: bumped by the add-on after each answer */

    /* Version 2. */

    /* A key, written by the host like a press: the fields, then the serial, then a wake. */
    uint8_t key_bytes[16];  /* one key's UTF-8 bytes (or a key code), zero after key_length */
    uint32_t key_length;    /* 1 ... 15 */
    uint32_t key_modifiers; /* as modifiers */
    uint32_t key_request;   /* serial: deliver one key; the next only after key_done caught up */
    uint32_t key_done; /* add-on: the key_request whose KeyDown returned (or that was dropped) */

    /* Pop-up menus. The add-on writes menu_x .. menu_items, then bumps
     * menu_opened; it bumps menu_closed when that menu is gone. The host
     * writes menu_choice, then bumps menu_answer: one pending answer, taken
     * by the menu open now or by the next to open (a later answer replaces an
     * untaken one). Taking it sets menu_taken to that menu_answer. */
    uint32_t menu_opened; /* add-on: menus opened so far */
    int32_t menu_x;       /* the last menu's point on the screen */
    int32_t menu_y;
    int32_t menu_items;   /* the items of the last menu that can be chosen */
    uint32_t menu_closed; /* add-on: menus closed so far */
    int32_t
        menu_choice; /* host: 0-based among the choosable items; -1 (or out of range) dismisses */
    uint32_t menu_answer; /* host: serial of menu_choice */
    uint32_t menu_taken;  /* add-on: the menu_answer a menu took last */
} WobrixHeadlessWindow;

#ifdef __cplusplus
}
#endif

#endif
