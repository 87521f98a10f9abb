from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    return ("DROP TABLE a; " "DROP TABLE b")
