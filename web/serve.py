#!/usr/bin/env python3
"""Serves a directory on the loopback only, at a free port unless one is given,
and prints its address as the first line of output."""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      '.js': 'text/javascript', '.wasm': 'application/wasm',
                      '.webmanifest': 'application/manifest+json'}

    def log_message(self, *args):
        pass


def main():
    directory = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    handler = functools.partial(Handler, directory=directory)
    with http.server.ThreadingHTTPServer(('127.0.0.1', port), handler) as server:
        print(f'http://127.0.0.1:{server.server_address[1]}/', flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == '__main__':
    main()
