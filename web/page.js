// The core's imports (page.h): each hands over to the page object that app.js
// passes to the module as Module.page.
mergeInto(LibraryManager.library, {
  velmora_page_put: function (x, y, width, height, rgba) {
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    return Module['page'].put(x, y, new ImageData(pixels, width, height)) ? 1 : 0;
  },
  velmora_page_message: function (text, length) {
    Module['page'].message(UTF8ToString(text, length));
  },
  velmora_page_add_card: function (index, name, length) {
    Module['page'].addCard(index, UTF8ToString(name, length));
  },
  velmora_page_size_board: function (width, height) {
    Module['page'].sizeBoard(width, height);
  },
  velmora_page_place_card: function (index, left, top, width, height) {
    Module['page'].placeCard(index, left, top, width, height);
  },
  velmora_page_card_state: function (index, played) {
    Module['page'].cardState(index, played !== 0);
  },
  velmora_page_announce: function (text, length) {
    Module['page'].announce(UTF8ToString(text, length));
  },
  velmora_page_fatal: function (text, length) {
    Module['page'].fatal(UTF8ToString(text, length));
  },
});
