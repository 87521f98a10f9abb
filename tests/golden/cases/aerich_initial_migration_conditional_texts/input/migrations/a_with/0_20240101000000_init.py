from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    with x:
        return "CREATE TABLE IF NOT EXISTS t (id INT); ALTER TABLE t ADD x INT NOT NULL"
