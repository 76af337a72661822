#pragma once

#include <cstdint>

// What the page's script provides to the core (page.js).
extern "C" {
// Puts width × height RGBA pixels at device pixel (x, y) of the board; 0 if it cannot.
int velmora_page_put(int x, int y, int width, int height, const std::uint8_t *rgba);
// Shows the modal message box; returns at once, the page keeps the board untouchable
// until it is dismissed.
void velmora_page_message(const char *text, int length);
// Makes the card's accessible checkbox, which velmora_page_place_card lays over it.
void velmora_page_add_card(int index, const char *name, int length);
// Sizes the board's canvas to width × height device pixels, which clears it.
void velmora_page_size_board(int width, int height);
// Lays the card's checkbox over its rectangle on the board (device pixels).
void velmora_page_place_card(int index, int left, int top, int width, int height);
void velmora_page_card_state(int index, int played);
// Has screen readers say the text, politely, wherever they are.
void velmora_page_announce(const char *text, int length);
// Shows the fatal error and stops the page.
void velmora_page_fatal(const char *text, int length);
}
