from tortoise import BaseDBAsyncClient


def steps():
    return "ALTER TABLE account ADD step_one INT NOT NULL"


async def upgrade(db: BaseDBAsyncClient) -> str:
    return "DROP TABLE IF EXISTS first_upgrade_is_replaced"


async def upgrade(db: BaseDBAsyncClient) -> str:
    await run_later(steps)
    return build()


@decorated
async def downgrade(db: BaseDBAsyncClient) -> str:
    return "DROP TABLE account"
