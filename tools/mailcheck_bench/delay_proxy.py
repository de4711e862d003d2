#!/usr/bin/env python3
"""A TCP relay on loopback that holds every chunk for a fixed delay in each direction (a round trip of twice the
delay), for timing network clients where netem is not available. Prints the port it listens on, then serves until
killed.  Usage: delay_proxy.py <target-port> <one-way-delay-ms>"""
import asyncio
import sys


async def pump(reader, writer, delay):
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue()

    async def release():
        while True:
            due, data = await queue.get()
            if data is None:
                break
            wait = due - loop.time()
            if wait > 0:
                await asyncio.sleep(wait)
            writer.write(data)
            await writer.drain()
        writer.close()

    sender = asyncio.ensure_future(release())
    try:
        while True:
            data = await reader.read(65536)
            if not data:
                break
            queue.put_nowait((loop.time() + delay, data))
    finally:
        queue.put_nowait((0, None))
        await sender


async def main():
    target, delay = int(sys.argv[1]), int(sys.argv[2]) / 1000.0

    async def serve(client_reader, client_writer):
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target)
        await asyncio.gather(pump(client_reader, server_writer, delay), pump(server_reader, client_writer, delay),
                             return_exceptions=True)

    server = await asyncio.start_server(serve, "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    async with server:
        await server.serve_forever()


asyncio.run(main())
