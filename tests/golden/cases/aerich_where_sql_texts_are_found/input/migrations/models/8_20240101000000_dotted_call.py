from tortoise import BaseDBAsyncClient


def sql():
    return "DROP TABLE a"


async def upgrade(db: BaseDBAsyncClient) -> str:
    self.sql()
