#!/usr/bin/env python3
"""Records what tavrel-server sends one seat during a game, as raw 272-byte packets.

    tools/record_game.py build/bin/tavrel-server OUT.bin HANDS [server options...]

The server plays the seat itself (--autoplay); this script logs in, says Continue
after every dealer announcement, and stops once HANDS hands have had their results
and the next dealer has been announced. The file is the benchmark's fixture.
"""
import socket
import subprocess
import sys

PACKET = 272


def login(name):
    p = bytearray(PACKET)
    p[3] = 18  # Login
    p[14] = 1
    p[16:16 + len(name)] = name.encode()
    return bytes(p)


def command(cmd, seat, values):
    p = bytearray(PACKET)
    p[3] = cmd
    p[6] = seat
    for i, v in enumerate(values):
        p[8 + 2 * i] = (v >> 8) & 0xFF
        p[9 + 2 * i] = v & 0xFF
    return bytes(p)


def main():
    server, out, hands = sys.argv[1], sys.argv[2], int(sys.argv[3])
    proc = subprocess.Popen([server, "--port", "0", "--bots", "3", "--bot-delay", "0", "--autoplay", "1",
                             "--ready-first-hand"] + sys.argv[4:], stdout=subprocess.PIPE, text=True)
    try:
        line = proc.stdout.readline()
        port = int(line.strip().rsplit(":", 1)[1])
        sock = socket.create_connection(("127.0.0.1", port), timeout=30)
        sock.sendall(login("player"))
        buf, packets, results, own = b"", [], 0, 0
        while True:
            data = sock.recv(65536)
            if not data:
                break
            buf += data
            while len(buf) >= PACKET:
                p, buf = buf[:PACKET], buf[PACKET:]
                packets.append(p)
                cmd, seat = p[3], p[6]
                if cmd == 9:
                    results += 1
                elif cmd == 16 and p[15] == 2:  # the dealer of the next hand
                    if results >= 4 * hands:
                        open(out, "wb").write(b"".join(packets))
                        print(f"{len(packets)} packets, {results // 4} hands")
                        return
                    sock.sendall(command(16, own, [0, 0, 0, 1]))
                elif cmd == 20 and seat == 15:
                    own = 1  # the first human seat is seat 0
    finally:
        proc.kill()


if __name__ == "__main__":
    main()
