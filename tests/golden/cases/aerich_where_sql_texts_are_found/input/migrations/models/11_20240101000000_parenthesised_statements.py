from tortoise import BaseDBAsyncClient


def drops():
    return "DROP TABLE a"


async def upgrade(db: BaseDBAsyncClient) -> str:
    (await execute_statement(db, "CREATE INDEX o ON t (g)"))
    await (execute_statement(db, "CREATE INDEX p ON t (h)"))
    (  # every helper runs
        drops()
    )
    return ""
