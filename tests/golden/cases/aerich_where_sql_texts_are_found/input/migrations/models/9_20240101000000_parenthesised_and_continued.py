from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    await execute_statement(db, ("CREATE INDEX k ON t (c)"))
    await execute_statement(db, \
        "CREATE INDEX l ON t (d)")
    return (\
        "CREATE INDEX i ON t (a); "
        "CREATE INDEX j ON t (b)"
    )
