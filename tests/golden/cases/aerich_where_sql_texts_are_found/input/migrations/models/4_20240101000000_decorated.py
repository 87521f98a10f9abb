from tortoise import BaseDBAsyncClient


@wrap
async def upgrade(db: BaseDBAsyncClient) -> str:
    return "DROP TABLE a"
