from tortoise import BaseDBAsyncClient


def sql():
    return "DROP TABLE a"


async def upgrade(db: BaseDBAsyncClient) -> str:
    await db.execute_script(sql())
    return "DROP TABLE b"
