from tortoise import BaseDBAsyncClient


def make():
    return "CREATE TABLE IF NOT EXISTS t (id INT); ALTER TABLE t ADD x INT NOT NULL"


async def upgrade(db: BaseDBAsyncClient) -> str:
    make()
    if x:
        make()
